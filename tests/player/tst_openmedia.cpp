#include "Controls.h"
#include "PlayerFixture.h"
#include "core/MediaFormats.h"
#include "platform/Platform.h"
#include "player/CaptionLabel.h"

#include <QAction>
#include <QDir>
#include <QTest>
#include <sys/stat.h>

class TestOpenMedia : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recentEntryDueIsWrittenAtTheEnd_data();
    void recentEntryDueIsWrittenAtTheEnd();
    void deletedRecentFileChangesNothing();
    void cancelledDialogChangesNothing();
    void dialogAsksForMedia();
    void bookmarksFollowTheirRecording();
    void commandLineFileStaysOpen();
    void dropOpensThroughTheWholeCommand();
    void dropOfSomethingUnplayableIsReported();
    void closeKeepsPathAndBookmarks();
    void pathWithALineBreakOpensButIsNotListed();
    void longRecentPathIsShortenedInTheMenu();
    void refusedFileIsToldAndForgotten_data();
    void refusedFileIsToldAndForgotten();
};

void TestOpenMedia::recentEntryDueIsWrittenAtTheEnd_data()
{
    QTest::addColumn<bool>("asked");
    QTest::newRow("closed") << true;
    QTest::newRow("ended by a signal") << false;
}

void TestOpenMedia::recentEntryDueIsWrittenAtTheEnd()
{
    QFETCH(bool, asked);
    PlayerFixture f;
    const QString path = f.mediaFile(QStringLiteral("last.wav"));

    // Ended before the event loop has had its turn.
    f.player->control()->openMedia(path);
    if (asked)
        QVERIFY(f.player->close());
    else
        f.player->sessionKeeper()->endWithoutAsking();

    QVERIFY(f.folder.readBytes(QStringLiteral("Files/LastFiles.ini")).startsWith(path.toUtf8()));
}

void TestOpenMedia::deletedRecentFileChangesNothing()
{
    PlayerFixture f;
    const QString a = f.open(QStringLiteral("a.wav"));
    const QString gone = f.open(QStringLiteral("gone.wav"));
    QFile::remove(gone);
    f.player->control()->openMedia(a);
    f.settle();
    const QByteArray listBefore = f.folder.readBytes(QStringLiteral("Files/LastFiles.ini"));
    f.media.calls.clear();

    recentAction(f.player, 1)->trigger();

    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().text, f.state.texts.plain(Text::FileMissing) + "\n" + gone);
    QCOMPARE(f.dialogs.messages.first().title, f.state.texts.plain(Text::ProgramName));
    QCOMPARE(f.media.url(), a);
    QVERIFY(f.media.calls.isEmpty());
    QCOMPARE(f.state.currentMediaPath, a);
    QCOMPARE(f.player->mediaSession()->recent().caption(1), gone);
    f.settle();
    QCOMPARE(f.folder.readBytes(QStringLiteral("Files/LastFiles.ini")), listBefore);
}

void TestOpenMedia::cancelledDialogChangesNothing()
{
    PlayerFixture f;
    const QString a = f.open(QStringLiteral("a.wav"));
    const QByteArray listBefore = f.folder.readBytes(QStringLiteral("Files/LastFiles.ini"));
    f.journal.clear();

    f.player->mediaSession()->open();

    QCOMPARE(f.dialogs.fileDialogs.size(), 1);
    QCOMPARE(f.media.url(), a);
    f.settle();
    QCOMPARE(f.folder.readBytes(QStringLiteral("Files/LastFiles.ini")), listBefore);
    QVERIFY(f.journal.isEmpty());
}

void TestOpenMedia::dialogAsksForMedia()
{
    PlayerFixture f;
    const QString chosen = f.mediaFile(QStringLiteral("chosen.mp3"));
    f.dialogs.chosenFiles.enqueue(chosen);

    f.player->mediaSession()->open();

    const FileDialogRequest& request = f.dialogs.fileDialogs.first();
    QVERIFY(request.open);
    QCOMPARE(request.title, f.state.texts.text(Text::OpenMediaTitle));
    QCOMPARE(request.defaultExtension, QStringLiteral("wav"));
    QCOMPARE(request.filters.size(), 2);
    QCOMPARE(request.filters[0].first, f.state.texts.text(Text::MediaFiles));
    QCOMPARE(request.filters[0].second, MediaFormats::dialogPatterns());
    QCOMPARE(request.filters[1].second, QStringLiteral("*.*"));
    QCOMPARE(f.media.url(), chosen);
}

void TestOpenMedia::bookmarksFollowTheirRecording()
{
    PlayerFixture f;
    const QString first = f.open(QStringLiteral("first.wav"));
    f.bookmarks.bookmarks = true;
    f.journal.clear();
    const QString second = f.mediaFile(QStringLiteral("second.wav"));
    f.player->control()->openMedia(second);

    // Saved while the first recording is still the current one.
    QCOMPARE(f.journal.mid(0, 2), (QStringList{"bookmarks saved", "bookmarks cleared"}));
    QVERIFY(f.journal.contains(QStringLiteral("bookmarks loaded for ") + second));
    QCOMPARE(f.state.currentMediaPath, second);
    Q_UNUSED(first);
}

void TestOpenMedia::commandLineFileStaysOpen()
{
    TestFolder media;
    media.writeBytes(QStringLiteral("given.wav"), "RIFF");
    const QString path = media.filePath(QStringLiteral("given.wav"));
    PlayerFixture f(PlayerFixture::defaultSettings(), path);

    QCOMPARE(f.media.url(), path);
    QCOMPARE(f.state.currentMediaPath, path);
    QCOMPARE(f.player->mediaSession()->recent().caption(0), path);
    QVERIFY(action(f.player, "playAction")->isEnabled());
    QVERIFY(f.journal.contains(QStringLiteral("bookmarks loaded for ") + path));
}

void TestOpenMedia::dropOpensThroughTheWholeCommand()
{
    PlayerFixture f;
    const QString path = f.mediaFile(QStringLiteral("dropped.wav"));

    f.player->mediaSession()->openDropped(path + QString(5, QChar(0)));

    QCOMPARE(f.media.url(), path);
    QCOMPARE(f.state.currentMediaPath, path);
    QCOMPARE(f.player->mediaSession()->recent().caption(0), path);
    QVERIFY(f.dialogs.messages.isEmpty());

    f.player->mediaSession()->openDropped(QString(3, QChar(0)));
    QCOMPARE(f.media.url(), path);
}

void TestOpenMedia::dropOfSomethingUnplayableIsReported()
{
    PlayerFixture f;
    f.player->mediaSession()->openDropped(f.folder.filePath(QStringLiteral("Files")));
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().text, f.state.texts.plain(Text::DroppedFileUnreadable));
    QCOMPARE(f.dialogs.messages.first().title, f.state.texts.plain(Text::CannotOpenFile));
    QVERIFY(f.media.url().isEmpty());
}

void TestOpenMedia::closeKeepsPathAndBookmarks()
{
    PlayerFixture f;
    const QString path = f.open(QStringLiteral("a.wav"));
    f.bookmarks.bookmarks = true;
    f.journal.clear();

    f.player->mediaSession()->close();

    QVERIFY(f.media.url().isEmpty());
    QCOMPARE(f.state.currentMediaPath, path);
    QVERIFY(f.bookmarks.hasBookmarks());
    QVERIFY(!f.journal.contains(QStringLiteral("bookmarks saved")));
    QVERIFY(f.journal.contains(QStringLiteral("bookmark window unloaded")));
    QCOMPARE(label(f.player, "positionLabel")->text(), QStringLiteral("0:00 / 0:00"));
    QVERIFY(!titleLabel(f.player)->isVisible());
    QVERIFY(!action(f.player, "closeAction")->isEnabled());
    QVERIFY(!action(f.player, "bookmarkWindowAction")->isEnabled());
}

void TestOpenMedia::pathWithALineBreakOpensButIsNotListed()
{
    PlayerFixture f;
    const QString kept = f.open(QStringLiteral("kept.wav"));
    const QByteArray listBefore = f.folder.readBytes(QStringLiteral("Files/LastFiles.ini"));
    const QString broken = f.mediaFile(QStringLiteral("two\nlines.wav"));

    f.player->control()->openMedia(broken);

    QCOMPARE(f.media.url(), broken);
    QCOMPARE(f.player->mediaSession()->recent().caption(0), kept);
    f.settle();
    QCOMPARE(f.folder.readBytes(QStringLiteral("Files/LastFiles.ini")), listBefore);
    QVERIFY(!recentAction(f.player, 1)->isVisible());
}

void TestOpenMedia::longRecentPathIsShortenedInTheMenu()
{
    PlayerFixture f;
    const QString deep = QStringLiteral("media/") + QString(120, QLatin1Char('d')) +
                         QLatin1Char('/') + QString(120, QLatin1Char('e'));
    f.folder.writeBytes(deep + QStringLiteral("/interview & notes.wav"), "RIFF");
    const QString path = f.folder.filePath(deep + QStringLiteral("/interview & notes.wav"));

    f.player->control()->openMedia(path);

    QAction* entry = recentAction(f.player, 0);
    const QString shown = entry->text();
    QVERIFY2(shown.size() < 90, qPrintable(shown));
    QVERIFY2(shown.contains(QChar(0x2026)), qPrintable(shown));
    // The file's name stays readable, its "&" shown as itself.
    QVERIFY2(shown.endsWith(QStringLiteral("interview && notes.wav")), qPrintable(shown));
    QCOMPARE(entry->toolTip(), path);

    // The entry still opens the whole path.
    f.open(QStringLiteral("other.wav"));
    recentAction(f.player, 1)->trigger();
    QCOMPARE(f.media.url(), path);
}

void TestOpenMedia::refusedFileIsToldAndForgotten_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<Text>("reason");
    QTest::addColumn<QString>("detail");
    QTest::newRow("named pipe") << "fifo" << Text::CannotPlay << "";
    QTest::newRow("folder") << "folder" << Text::CannotPlay << "";
    QTest::newRow("undecodable, told later") << "error" << Text::CannotPlay << "bad format";
    QTest::newRow("no sound server") << "sound" << Text::NoSoundOutput << "no audio output";
    QTest::newRow("engine lost while it waited") << "engine" << Text::EngineNotLoaded << "no mpv";
}

void TestOpenMedia::refusedFileIsToldAndForgotten()
{
    QFETCH(QString, how);
    QFETCH(Text, reason);
    QFETCH(QString, detail);
    PlayerFixture f;
    const QString kept = f.open(QStringLiteral("kept.wav"));
    const QByteArray listBefore = f.folder.readBytes(QStringLiteral("Files/LastFiles.ini"));
    const QString path = f.folder.filePath(QStringLiteral("media/refused.m4a"));
    if (how == QLatin1String("fifo"))
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else
        QVERIFY(how == QLatin1String("folder") ? QDir().mkpath(path)
                                               : !f.mediaFile("refused.m4a").isEmpty());

    f.open(QStringLiteral("refused.m4a"));
    // The refused file's own bookmarks, read as it opened.
    f.bookmarks.bookmarks = !detail.isEmpty();
    f.media.engineReason = how == QLatin1String("engine") ? detail : QString();
    if (how == QLatin1String("sound"))
        Q_EMIT f.media.soundOutputMissing(detail);
    else if (!detail.isEmpty())
        Q_EMIT f.media.mediaError(detail);
    f.settle();

    const QString shown =
        QStringList{f.dialogs.messages.value(0).text,
                    f.state.currentMediaPath,
                    f.player->mediaSession()->recent().caption(0),
                    QString::number(f.folder.readBytes(QStringLiteral("Files/LastFiles.ini")) ==
                                    listBefore),
                    QString::number(f.bookmarks.hasBookmarks()),
                    QString::number(titleLabel(f.player)->isVisible()),
                    QString::number(action(f.player, "playAction")->isEnabled())}
            .join(u'|');
    QStringList told{f.state.texts.plain(reason), path, detail};
    told.removeAll(QString());
    // Told once; no file loaded, none listed or kept on disk, no bookmarks held, nothing to play.
    QCOMPARE(shown, told.join(QStringLiteral("\n\n")) + QStringLiteral("||") + kept + "|1|0|0|0");
    QCOMPARE(f.dialogs.messages.size(), 1);
}

QTEST_MAIN(TestOpenMedia)
#include "tst_openmedia.moc"
