#include "JournalCompanions.h"
#include "core/WaveformCommands.h"
#include "platform/Twips.h"
#include "player/CompanionWindows.h"

#include <QTest>

namespace {

// Frames given in twips, as the pixels windows are placed in.
QString pixels(std::initializer_list<QRect> frames)
{
    QStringList parts;
    for (const QRect& f : frames)
        for (int twips : {f.left(), f.top(), f.width(), f.height()})
            parts << QString::number(Twips::toPixels(twips));
    return parts.join(' ');
}

// A plain window as the player, with the stand-ins of the editor and the bookmarks; all shown.
struct Fixture {
    QStringList journal;
    JournalEditor editor{journal};
    JournalBookmarks bookmarks{journal};
    QWidget player;
    CompanionWindows companions{&player};

    Fixture()
    {
        companions.setEditor(&editor);
        companions.setBookmarks(&bookmarks);
        for (QWidget* window : {&player, &editor.widget, &bookmarks.widget})
            window->show();
    }
    QString frames() const
    {
        return pixels({Twips::frame(&bookmarks.widget), Twips::frame(&editor.widget)});
    }
};

struct Waveform : WaveformCommands {
    QWidget widget;
    bool wanted = false;
    QWidget* window() override { return &widget; }
    bool isWanted() const override { return wanted; }
    void setWanted(bool w) override { wanted = w; }
};

} // namespace

class TestCompanionWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowsStandAroundThePlayer_data();
    void windowsStandAroundThePlayer();
    void minimisedPlayerTakesItsCompanionsAlong();
    void waveformStandsUnderThePlayerAndTheBookmarks();
};

void TestCompanionWindows::windowsStandAroundThePlayer_data()
{
    QTest::addColumn<int>("editorWidth"); // 0: no editor
    QTest::addColumn<int>("width");
    QTest::newRow("beside the player up to the editor's right edge") << 10000 << 4900;
    QTest::newRow("no editor") << 0 << 4200;
}

void TestCompanionWindows::windowsStandAroundThePlayer()
{
    QFETCH(int, editorWidth);
    QFETCH(int, width);
    Fixture f;
    f.editor.unloaded = editorWidth == 0;
    const QRect editor(900, 6000, std::max(editorWidth, 600), 2400);
    Twips::setFrame(&f.player, QRect(1500, 300, 5040, 2400));
    Twips::setFrame(&f.bookmarks.widget, QRect(0, 0, 1000, 1200));
    Twips::setFrame(&f.editor.widget, editor);

    // The editor goes under the player, or under the bookmark window once it has bookmarks.
    f.companions.placeEditor();
    QStringList frames{f.frames()};
    f.bookmarks.bookmarks = true;
    f.companions.placeEditor();
    frames << f.frames();
    // The bookmark window goes beside the player, as tall as the user made it or as the player;
    // the editor follows it.
    f.companions.placeBookmarkWindow(&f.bookmarks.widget, false);
    frames << f.frames();
    f.companions.placeBookmarkWindow(&f.bookmarks.widget, true);
    frames << f.frames();

    const auto under = [&](int top) {
        return editorWidth ? editor.translated(600, top - 6000) : editor;
    };
    const QRect beside(1500 + 5040 + 60, 300, width, 1200);
    QCOMPARE(frames, QStringList({pixels({QRect(0, 0, 1000, 1200), under(2730)}),
                                  pixels({QRect(0, 0, 1000, 1200), under(1230)}),
                                  pixels({beside, under(1530)}),
                                  pixels({beside.adjusted(0, 0, 0, 1200), under(2730)})}));
}

void TestCompanionWindows::minimisedPlayerTakesItsCompanionsAlong()
{
    Fixture f;
    // The editor is meant to be shown, the bookmark window (on screen nonetheless) is not.
    f.editor.widget.hide();
    f.companions.restoreEditor(QRect(1200, 3000, 9000, 4500), true);
    f.player.setWindowState(Qt::WindowMinimized);
    QVERIFY(!f.editor.widget.isVisible() && !f.bookmarks.widget.isVisible());
    f.player.setWindowState(Qt::WindowNoState);
    QVERIFY(f.editor.widget.isVisible() && !f.bookmarks.widget.isVisible());
}

void TestCompanionWindows::waveformStandsUnderThePlayerAndTheBookmarks()
{
    Fixture f;
    Twips::setFrame(&f.player, QRect(1500, 300, 5040, 2400));
    Twips::setFrame(&f.editor.widget, QRect(900, 6000, 10000, 2400));
    f.companions.placeBookmarkWindow(&f.bookmarks.widget, true);
    Waveform waveform;
    Twips::setFrame(&waveform.widget, QRect(0, 0, 3000, 1500));
    f.companions.setWaveform(&waveform);
    QVERIFY(!waveform.widget.isVisible());
    f.bookmarks.widget.hide();

    // Under the player, as wide as the editor, which moves below it.
    QVERIFY(f.companions.toggleWaveform());
    QVERIFY(waveform.wanted && waveform.widget.isVisible());
    QCOMPARE(pixels({Twips::frame(&waveform.widget), Twips::frame(&f.editor.widget)}),
             pixels({QRect(1500, 2730, 10000, 1500), QRect(900, 4260, 10000, 2400)}));
    // A taller bookmark window placed beside the player later, while hidden, pushes it down.
    Twips::setFrame(&f.bookmarks.widget, QRect(0, 0, 1000, 3600));
    f.companions.placeBookmarkWindow(&f.bookmarks.widget, false);
    QCOMPARE(Twips::frame(&waveform.widget).top(), 3930);
    f.player.setWindowState(Qt::WindowMinimized);
    QVERIFY(!waveform.widget.isVisible());
    f.player.setWindowState(Qt::WindowNoState);
    QVERIFY(waveform.widget.isVisible());
    QVERIFY(f.companions.toggleWaveform());
    QVERIFY(!waveform.wanted && !waveform.widget.isVisible());

    // Wanted in the last run: shown as soon as it is there.
    waveform.wanted = true;
    f.companions.setWaveform(&waveform);
    QVERIFY(waveform.widget.isVisible());
}

QTEST_MAIN(TestCompanionWindows)
#include "tst_companionwindows.moc"
