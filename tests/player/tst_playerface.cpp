#include "Controls.h"
#include "TestFolder.h"
#include "core/AppState.h"
#include "player/PlayerFace.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
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
    void screenReaderMeetsTheFaceInVisualOrder();
    void keysAndScreenReaderWorkTheControls_data();
    void keysAndScreenReaderWorkTheControls();
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

void TestPlayerFace::screenReaderMeetsTheFaceInVisualOrder()
{
    FaceFixture f;
    f.state.languageFile = QStringLiteral("English.lng");
    QVERIFY(f.state.texts.load(f.state.languagePath()));
    f.face->retranslate();
    QString shown;
    for (QWidget* w = f.face->nextInFocusChain(); w != f.face.get(); w = w->nextInFocusChain()) {
        const QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        const QAccessible::Role role = a->role();
        if (w->focusPolicy() & Qt::TabFocus)
            shown += QStringLiteral("%1 %2|").arg(a->text(QAccessible::Name),
                                                  role == QAccessible::Button   ? "button"
                                                  : role == QAccessible::Slider ? "slider"
                                                                                : "other");
    }
    QCOMPARE(shown, QStringLiteral("Open file... button|Skip back button|Play button|Stop button|"
                                   "Skip forward button|Record button|Volume slider|"));
    // Space in a player just clicked plays and pauses; it never opens the file dialog.
    QCOMPARE(f.face->window()->focusWidget(), named<QWidget>(f.face, "playButton"));
}

void TestPlayerFace::keysAndScreenReaderWorkTheControls_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key"); // 0: the screen reader's press, or its value when one is given
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("heard");
    QTest::newRow("space plays") << "playButton" << int(Qt::Key_Space) << 0 << "play";
    QTest::newRow("return stops") << "stopButton" << int(Qt::Key_Return) << 0 << "stop";
    QTest::newRow("other keys pass") << "backButton" << int(Qt::Key_A) << 0 << "";
    QTest::newRow("pressed skips") << "forwardButton" << 0 << 0 << "forward";
    QTest::newRow("disabled stays") << "disabled playButton" << int(Qt::Key_Space) << 0 << "";
    QTest::newRow("up") << "volumeKnob" << int(Qt::Key_Up) << 0 << "volume 55";
    QTest::newRow("page down") << "volumeKnob" << int(Qt::Key_PageDown) << 0 << "volume 30";
    QTest::newRow("end") << "volumeKnob" << int(Qt::Key_End) << 0 << "volume 100";
    QTest::newRow("set by reader") << "volumeKnob" << 0 << 70 << "volume 70";
    QTest::newRow("kept in range") << "volumeKnob" << 0 << 130 << "volume 100";
}

void TestPlayerFace::keysAndScreenReaderWorkTheControls()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(int, value);
    FaceFixture f;
    QStringList heard;
    for (const auto& [signal, word] : {std::pair{&PlayerFace::playClicked, "play"},
                                       {&PlayerFace::stopClicked, "stop"},
                                       {&PlayerFace::backClicked, "back"},
                                       {&PlayerFace::forwardClicked, "forward"},
                                       {&PlayerFace::recordClicked, "record"}})
        QObject::connect(f.face.get(), signal, [&heard, word] { heard << QLatin1String(word); });
    QObject::connect(f.face.get(), &PlayerFace::volumeChanged, [&heard, &f] {
        heard << QStringLiteral("volume %1").arg(f.face->knobValue());
    });
    f.face->setMediaControlsEnabled(!control.startsWith(u"disabled "));
    f.face->moveKnobTo(50);
    QWidget* widget = named<QWidget>(f.face, control.split(u' ').last().toLatin1().constData());
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    if (key)
        QTest::keyClick(widget, Qt::Key(key));
    else if (a->valueInterface())
        a->valueInterface()->setCurrentValue(value);
    else
        a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTEST(heard.join(u','), "heard");
}

QTEST_MAIN(TestPlayerFace)
#include "tst_playerface.moc"
