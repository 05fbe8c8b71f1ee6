// The sound clean-up as the player runs it: its commands reach the engine, the menu and the
// title line, and a filter the engine refuses is switched off and reported.

#include "mock/Controls.h"
#include "mock/PlayerFixture.h"
#include "player/CaptionLabel.h"
#include "player/SoundCleanUp.h"

#include <QtTest>

class TestSoundCleanUp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void refusedFiltersAreSwitchedOff_data();
    void refusedFiltersAreSwitchedOff();
    void commandsReachEngineMenuAndTitle();
};

void TestSoundCleanUp::refusedFiltersAreSwitchedOff_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<SoundFilters>("next");
    QTest::addColumn<QString>("refused");
    QTest::addColumn<QString>("shown"); // the engine's chain | the file's | the box's text
    const QString told = "The sound engine could not apply %1, so it is switched off again.\n\n"
                         "filter not found";
    QTest::newRow("the filter just set")
        << QStringList{"HighPass=yes"} << SoundFilters{.noiseReduction = true, .highPass = true}
        << "afftdn"
        << "highpass=f=100|highpass=f=100|" + told.arg("Noise reduction");
    QTest::newRow("all, when first built")
        << QStringList{"HighPass=yes", "Channels=mono"} << SoundFilters{} << "highpass"
        << "||" + told.arg("Mono mix of both channels, High-pass filter against rumble");
    const SoundFilters boosted{.channels = SoundChannels::LeftOnly, .boostPercent = 150};
    QTest::newRow("none refused") << QStringList{"Channels=left"} << boosted << "afftdn"
                                  << boosted.chain() + "|" + boosted.chain() + "|";
}

void TestSoundCleanUp::refusedFiltersAreSwitchedOff()
{
    QFETCH(QStringList, stored);
    QFETCH(SoundFilters, next);
    QFETCH(QString, refused);
    QFETCH(QString, shown);
    TestFolder folder;
    folder.write("Files/Sound.ini", stored);
    InterfaceTexts texts;
    QVERIFY(texts.load(VOCARTA_SOURCE_DATA_DIR "/Files/Lang/English.lng"));
    FakeMediaPlayer media;
    media.refusedFilter = refused;
    RecordingDialogs dialogs;
    QWidget owner;
    SoundCleanUp cleanUp(&media, texts, &dialogs, &owner);
    cleanUp.load(folder.filePath("Files/Sound.ini"));
    cleanUp.setFilters(next);
    QStringList told;
    for (const RecordingDialogs::Message& message : dialogs.messages)
        told << message.text;
    QCOMPARE(QStringList({media.audioFilters,
                          SoundFilters::read(folder.filePath("Files/Sound.ini")).chain(),
                          told.join("/")})
                 .join("|"),
             shown);
}

void TestSoundCleanUp::commandsReachEngineMenuAndTitle()
{
    PlayerFixture f;
    f.open("talk.wav");
    const auto shown = [&] {
        QStringList checked;
        for (const char* name : {"cleanUpAction", "bothChannelsAction", "leftChannelAction",
                                 "monoMixAction", "noiseReductionAction", "highPassAction"}) {
            if (action(f.player, name)->isChecked())
                checked << name;
        }
        return QStringList{f.media.audioFilters, titleLabel(f.player)->caption(),
                           checked.join(' ')};
    };
    const QString mark = " [" + f.state.texts.plain(Text::FilteredMark) + "]";
    const SoundFilters set{
        .channels = SoundChannels::LeftOnly, .boostPercent = 125, .noiseReduction = true};
    QCOMPARE(shown(), QStringList({"", "talk.wav - 03:20", "cleanUpAction bothChannelsAction"}));

    for (PlayerCommand command : {PlayerCommand::NoiseReduction, PlayerCommand::BoostUp,
                                  PlayerCommand::LeftChannel, PlayerCommand::LeftChannel})
        f.player->control()->runCommand(command);
    QCOMPARE(shown(), QStringList({set.chain(), "talk.wav - 03:20" + mark,
                                   "cleanUpAction leftChannelAction noiseReductionAction"}));
    // Off as a whole: the settings stay, in the menu and in the file.
    f.player->control()->runCommand(PlayerCommand::CleanUp);
    QCOMPARE(shown(),
             QStringList({"", "talk.wav - 03:20", "leftChannelAction noiseReductionAction"}));
    SoundFilters kept = set;
    kept.cleanUp = false;
    QCOMPARE(SoundFilters::read(f.folder.filePath("Files/Sound.ini")), kept);
}

QTEST_MAIN(TestSoundCleanUp)
#include "tst_soundcleanup.moc"
