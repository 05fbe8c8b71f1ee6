// The sound clean-up settings: the filter chain each gives the engine (what each channel choice
// is heard as is checked on the engine itself), and their file.

#include "TestFolder.h"
#include "core/SoundFilters.h"

#include <QtTest>

class TestSoundFilters : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void chainOfSettings_data();
    void chainOfSettings();
    void fileKeepsWhatIsValid_data();
    void fileKeepsWhatIsValid();
};

void TestSoundFilters::chainOfSettings_data()
{
    QTest::addColumn<SoundFilters>("filters");
    QTest::addColumn<QString>("chain");
    QTest::newRow("nothing set") << SoundFilters{} << "";
    QTest::newRow("boost limited")
        << SoundFilters{.boostPercent = 175} << "volume=1.75,alimiter=limit=0.9:level=false";
    QTest::newRow("all, in order")
        << SoundFilters{.channels = SoundChannels::RightOnly,
                        .boostPercent = 300,
                        .speechNormaliser = true,
                        .noiseReduction = true,
                        .highPass = true}
        << "aformat=channel_layouts=stereo,pan=stereo|c0=c1|c1=c1,highpass=f=100,"
           "afftdn=nr=12:nf=-40:tn=1,speechnorm=e=6.25:r=0.00001:l=1,volume=3.00,"
           "alimiter=limit=0.9:level=false";
    QTest::newRow("clean-up off") << SoundFilters{.cleanUp = false,
                                                  .channels = SoundChannels::LeftOnly,
                                                  .highPass = true}
                                  << "";
}

void TestSoundFilters::chainOfSettings()
{
    QFETCH(SoundFilters, filters);
    QFETCH(QString, chain);
    QCOMPARE(filters.chain(), chain);
    QCOMPARE(filters.anyOn(), !chain.isEmpty());
}

void TestSoundFilters::fileKeepsWhatIsValid_data()
{
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QStringList>("read");
    const QStringList set = {"CleanUp=no",           "Channels=right",     "BoostPercent=250",
                             "SpeechNormaliser=yes", "NoiseReduction=yes", "HighPass=yes"};
    QTest::newRow("all set") << set << set;
    QTest::newRow("by hand, any case")
        << QStringList{"channels = MONO", "highpass=1"}
        << QStringList{"CleanUp=yes",         "Channels=mono",     "BoostPercent=100",
                       "SpeechNormaliser=no", "NoiseReduction=no", "HighPass=yes"};
    QTest::newRow("values out of range")
        << QStringList{"Channels=middle", "BoostPercent=900", "BoostPercent=99", "HighPass=maybe"}
        << SoundFilters{}.lines();
}

void TestSoundFilters::fileKeepsWhatIsValid()
{
    QFETCH(QStringList, written);
    QFETCH(QStringList, read);
    TestFolder folder;
    const QString path = folder.path() + "/Sound.ini";
    QVERIFY(SoundFilters::parse(written).write(path));
    QString error;
    QCOMPARE(SoundFilters::read(path, &error).lines(), read);
    QCOMPARE(error, QString());
}

QTEST_GUILESS_MAIN(TestSoundFilters)
#include "tst_soundfilters.moc"
