#include "FakeMediaPlayer.h"
#include "JournalCompanions.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "core/AppState.h"
#include "core/PlayerEvents.h"
#include "core/RecentFilesMenu.h"
#include "core/ResumePositions.h"
#include "player/MediaSession.h"
#include "player/PlaybackController.h"
#include "player/PlayerPeers.h"

#include <QDir>
#include <QMenu>
#include <QTest>

namespace {

// A session with the transport and a bookmark stand-in, writing what it tells the window, the
// bookmarks and the desktop's media controls to `journal`.
struct Session {
    TestFolder folder;
    AppState state;
    RecordingDialogs dialogs;
    FakeMediaPlayer media;
    QStringList journal;
    JournalBookmarks bookmarks{journal};
    PlayerPeers peers{.bookmarks = &bookmarks};
    PlayerEvents events;
    PlaybackController playback{&media};
    MediaSession session{state, Platform{&media, &dialogs}, &playback, peers, &events, nullptr};
    QMenu fileMenu;

    Session()
    {
        state.programFolder = folder.path();
        state.languageFile = QStringLiteral("English.lng");
        folder.writeLanguage(state.languageFile, QStringLiteral("en"));
        state.texts.load(state.languagePath());
        session.recentMenu()->addEntries(&fileMenu, RecentFilesMenu::SeparatorPlace::Before);
        const auto note = [this](const char* line) { return [this, line] { journal << line; }; };
        QObject::connect(&session, &MediaSession::opening, note("opening"));
        QObject::connect(&session, &MediaSession::loading, note("loading"));
        QObject::connect(&session, &MediaSession::opened, note("opened"));
        QObject::connect(&session, &MediaSession::closed, note("closed"));
        QObject::connect(&events, &PlayerEvents::mediaChanged, note("media changed"));
        QObject::connect(&session, &MediaSession::titleChanged,
                         [this](const QString& caption) { journal << "title " + caption; });
        QObject::connect(&session, &MediaSession::engineMissing,
                         [this](const QString& text, const QString& reason) {
                             journal << "engine missing: " + text + " " + reason;
                         });
    }
    QString file(const QString& name) const
    {
        folder.writeBytes(name, "RIFF");
        return folder.filePath(name);
    }
};

} // namespace

class TestMediaSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void whatTheWindowIsTold_data();
    void whatTheWindowIsTold();
    void aRecordingGoesOnWhereItWasLeft();
};

void TestMediaSession::whatTheWindowIsTold_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("shown");
    const QString opened = "opening, loading, title talk.wav - 03:20, media changed, bookmarks "
                           "loaded for {folder}/talk.wav, opened";
    QTest::newRow("plays") << "open" << opened + "|talk.wav|0|";
    QTest::newRow("a folder") << "folder"
                              << "closed, bookmark window unloaded, media changed, media "
                                 "changed||1|{cannot play}";
    QTest::newRow("refused by the engine later")
        << "error"
        << opened +
               ", closed, bookmark window unloaded, media changed, media changed||1|{cannot play}";
    QTest::newRow("no engine") << "engine"
                               << "closed, bookmark window unloaded, media changed, engine "
                                  "missing: {no engine} no mpv||1|";
}

void TestMediaSession::whatTheWindowIsTold()
{
    QFETCH(QString, how);
    QFETCH(QString, shown);
    Session s;
    if (how == QLatin1String("folder")) {
        QDir(s.folder.path()).mkdir(QStringLiteral("talk.wav"));
        s.session.open(s.folder.filePath(QStringLiteral("talk.wav")));
    } else if (how == QLatin1String("engine")) {
        s.session.refuseEngine(QStringLiteral("no mpv"));
    } else {
        s.session.open(s.file(QStringLiteral("talk.wav")));
    }
    if (how == QLatin1String("error"))
        Q_EMIT s.media.mediaError(QStringLiteral("bad format"));

    const QString result = QStringList{s.journal.join(QStringLiteral(", ")),
                                       QFileInfo(s.state.currentMediaPath).fileName(),
                                       QString::number(s.session.hasFailed()),
                                       s.dialogs.messages.value(0).text.section(u'\n', 0, 0)}
                               .join(u'|');
    shown.replace("{folder}", s.folder.path())
        .replace("{cannot play}", s.state.texts.plain(Text::CannotPlay))
        .replace("{no engine}", s.state.texts.text(Text::EngineNotLoaded));
    QCOMPARE(result, shown);
}

void TestMediaSession::aRecordingGoesOnWhereItWasLeft()
{
    Session s;
    const QString talk = s.file(QStringLiteral("talk.wav"));
    const QString other = s.file(QStringLiteral("other.wav"));
    s.session.open(talk);
    s.media.setCurrentPosition(75.25);
    s.session.open(other);
    // Left near its end (of 200 s): it starts again from the start.
    s.media.setCurrentPosition(197);
    s.session.close();
    QCOMPARE(s.folder.readBytes(QStringLiteral("Files/Positions.txt")),
             "Resume=yes\r\n75.3\t" + talk.toUtf8() + "\r\n");

    s.journal.clear();
    s.session.open(talk);
    QCOMPARE(s.media.currentPosition(), 75.25);
    QVERIFY(s.journal.contains(
        "title " + s.state.texts.plain(Text::ContinuingFrom).arg(QStringLiteral("01:15"))));
    s.session.open(other);
    QCOMPARE(s.media.currentPosition(), 0.0);
    // Turned off, and kept so for the next run.
    s.session.setResumes(false);
    s.session.open(talk);
    QCOMPARE(s.media.currentPosition(), 0.0);
    QVERIFY(!ResumePositions(s.folder.filePath(QStringLiteral("Files/Positions.txt"))).isOn());

    // Only the recordings left last are kept.
    ResumePositions many(QString{});
    for (int i = 0; i <= ResumePositions::kMostEntries; ++i)
        QVERIFY(many.remember(QString::number(i), 60, 0));
    QCOMPARE(many.lines().size(), ResumePositions::kMostEntries + 1);
    QVERIFY(!many.positionOf(QStringLiteral("0")) && many.positionOf(QStringLiteral("1")));
}

QTEST_MAIN(TestMediaSession)
#include "tst_mediasession.moc"
