#include "Controls.h"
#include "TestFolder.h"
#include "core/AppState.h"
#include "player/PlayerFace.h"

#include <QTest>

Q_DECLARE_METATYPE(QLocale)

namespace {

struct FaceFixture {
    TestFolder folder;
    AppState state;
    std::unique_ptr<PlayerFace> face;

    FaceFixture()
    {
        folder.fillWithBundledData();
        state.programFolder = folder.path();
        face = std::make_unique<PlayerFace>(state);
    }
};

QString redGreenBlue(const QLabel* label)
{
    const QColor c = label->palette().color(QPalette::WindowText);
    return QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
}

// Steps the fade until its timer stops; the number of steps it took.
int fadeOut(PlayerFace& face)
{
    int ticks = 0;
    while (timer(&face, "labelFadeTimer")->isActive() && ticks < 100) {
        face.stepLabelFade();
        ++ticks;
    }
    return ticks;
}

} // namespace

class TestPlayerFace : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fadeIsHandedBetweenTheLabels();
    void speedTextUsesTheRegionalSeparator_data();
    void speedTextUsesTheRegionalSeparator();
    void titleFontFollowsItsLength_data();
    void titleFontFollowsItsLength();
    void tooltipsFollowTheLanguage();
};

void TestPlayerFace::fadeIsHandedBetweenTheLabels()
{
    FaceFixture f;
    PlayerFace& face = *f.face;
    QStringList seen;
    volumeKnob(&face)->moveOverTrack();
    face.stepLabelFade();
    seen << "volume " + redGreenBlue(label(&face, "volumeLabel"));
    face.showSpeed(1.5);
    // The speed fade starts from full red.
    face.stepLabelFade();
    seen << "speed " + redGreenBlue(label(&face, "speedLabel"));
    const int speedSteps = 1 + fadeOut(face);
    seen << QString::number(speedSteps) + " steps to " + redGreenBlue(label(&face, "speedLabel")) +
                ", volume " + redGreenBlue(label(&face, "volumeLabel"));
    volumeKnob(&face)->moveOverTrack();
    const int volumeSteps = fadeOut(face);
    seen << QString::number(volumeSteps) + " steps to " + redGreenBlue(label(&face, "volumeLabel"));
    QCOMPARE(seen.join(u'|'), "volume 255,0,0|speed 255,15,15|17 steps to 255,255,255, volume "
                              "255,0,0|18 steps to 255,255,255");
}

void TestPlayerFace::speedTextUsesTheRegionalSeparator_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("text");
    QTest::newRow("Italian") << QLocale(QLocale::Italian, QLocale::Italy) << 1.1 << "1,1 x";
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << 1.1 << "1.1 x";
    QTest::newRow("whole") << QLocale(QLocale::English, QLocale::UnitedStates) << 1.0 << "1 x";
}

void TestPlayerFace::speedTextUsesTheRegionalSeparator()
{
    QFETCH(QLocale, locale);
    QFETCH(double, rate);
    QFETCH(QString, text);
    FaceFixture f;
    QLocale::setDefault(locale);
    f.face->showSpeed(rate);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(label(f.face, "speedLabel")->text(), text);
}

void TestPlayerFace::titleFontFollowsItsLength_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("points");
    QTest::newRow("20 characters") << QString(20, 'x') << 20 << 14;
    QTest::newRow("21 characters") << QString(21, 'x') << 21 << 11;
    QTest::newRow("44 characters") << QString(44, 'x') << 44 << 11;
    QTest::newRow("45 characters") << QString(45, 'x') << 45 << 9;
}

void TestPlayerFace::titleFontFollowsItsLength()
{
    QFETCH(QString, caption);
    QFETCH(int, length);
    QFETCH(int, points);
    FaceFixture f;
    f.face->showTitle(caption);
    QCOMPARE(titleLabel(f.face)->caption().size(), length);
    QCOMPARE(titleLabel(f.face)->font().pointSize(), points);
}

void TestPlayerFace::tooltipsFollowTheLanguage()
{
    FaceFixture f;
    f.state.languageFile = QStringLiteral("Test.lng");
    for (const char* language : {"one", "two"}) {
        f.folder.writeLanguage(f.state.languageFile, QLatin1String(language));
        QVERIFY(f.state.texts.load(f.state.languagePath()));
        f.face->retranslate();
        QString shown, expected;
        for (const auto& [name, text] : {std::pair{"openButton", Text::OpenFile},
                                         {"playButton", Text::PlayPauseTip},
                                         {"knobHandle", Text::VolumeTip}}) {
            shown += named<QWidget>(f.face, name)->toolTip() + u'|';
            expected += u' ' + f.state.texts.text(text) + u' ' + u'|';
        }
        QCOMPARE(shown, expected);
    }
}

QTEST_MAIN(TestPlayerFace)
#include "tst_playerface.moc"
