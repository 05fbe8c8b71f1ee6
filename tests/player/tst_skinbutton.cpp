#include "TestFolder.h"
#include "player/SkinButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QTest>

class TestSkinButton : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hoverPictureFollowsThePointer_data();
    void hoverPictureFollowsThePointer();
};

void TestSkinButton::hoverPictureFollowsThePointer_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("shown");
    // Steps on buttons 0..2: e enters, m moves on, l leaves, d disables, a enables, x drops the
    // hover, p gives other pictures. Button 0 shifts by (2,3) under the pointer; button 2 has no
    // hover picture file. Shown: each button's picture and its shift.
    QTest::newRow("at rest") << ""
                             << "n0 0,0|n1 0,0|n2 0,0";
    QTest::newRow("enter") << "e0"
                           << "h0 2,3|n1 0,0|n2 0,0";
    QTest::newRow("enter and move shift once") << "e0 m0 e0 m0"
                                               << "h0 2,3|n1 0,0|n2 0,0";
    QTest::newRow("leave, even fast onto the background") << "m0 l0"
                                                          << "n0 0,0|n1 0,0|n2 0,0";
    QTest::newRow("back again") << "e1 l1 e1"
                                << "n0 0,0|h1 0,0|n2 0,0";
    QTest::newRow("onto another without a leave") << "m0 m1"
                                                  << "n0 0,0|h1 0,0|n2 0,0";
    QTest::newRow("disabled") << "d1 e1 m1"
                              << "n0 0,0|n1 0,0|n2 0,0";
    QTest::newRow("enabled under the pointer") << "d1 e1 a1 m1"
                                               << "n0 0,0|h1 0,0|n2 0,0";
    QTest::newRow("window opened over it") << "e0 x0"
                                           << "n0 0,0|n1 0,0|n2 0,0";
    QTest::newRow("hover picture missing") << "e2"
                                           << "n0 0,0|n1 0,0|n2 0,0";
    QTest::newRow("other pictures while hovered") << "e1 p1"
                                                  << "n0 0,0|r1 0,0|n2 0,0";
    QTest::newRow("other pictures, then leave") << "e1 p1 l1"
                                                << "n0 0,0|q1 0,0|n2 0,0";
}

void TestSkinButton::hoverPictureFollowsThePointer()
{
    QFETCH(QString, steps);
    QFETCH(QString, shown);
    TestFolder folder;
    const auto picture = [&](const QString& name) {
        const QString path = folder.filePath(name + QStringLiteral(".png"));
        if (name != QLatin1String("h2")) {
            QImage image(4, 4, QImage::Format_RGB32);
            image.fill(Qt::red);
            image.save(path, "PNG");
        }
        return path;
    };
    QWidget face;
    std::vector<SkinButton*> buttons;
    for (int i = 0; i < 3; ++i) {
        buttons.push_back(new SkinButton(&face));
        buttons.back()->setGeometry(20 * i, 0, 10, 10);
        buttons.back()->setPictures(picture(QStringLiteral("n%1").arg(i)),
                                    picture(QStringLiteral("h%1").arg(i)));
    }
    buttons[0]->setHoverShift(QPoint(2, 3));

    for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
        const int i = step.mid(1).toInt();
        SkinButton* b = buttons[i];
        const QPointF at(1, 1);
        QEnterEvent enter(at, at, b->mapToGlobal(at));
        QMouseEvent move(QEvent::MouseMove, at, b->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QEvent leave(QEvent::Leave);
        switch (step.at(0).toLatin1()) {
        case 'e':
            QApplication::sendEvent(b, &enter);
            break;
        case 'm':
            QApplication::sendEvent(b, &move);
            break;
        case 'l':
            QApplication::sendEvent(b, &leave);
            break;
        case 'd':
            b->setEnabled(false);
            break;
        case 'a':
            b->setEnabled(true);
            break;
        case 'x':
            b->dropHover();
            break;
        case 'p':
            b->setPictures(picture(QStringLiteral("q%1").arg(i)),
                           picture(QStringLiteral("r%1").arg(i)));
            break;
        }
    }

    QStringList seen;
    for (int i = 0; i < 3; ++i) {
        const QPoint shift = buttons[i]->pos() - QPoint(20 * i, 0);
        seen << QStringLiteral("%1 %2,%3")
                    .arg(QFileInfo(buttons[i]->imagePath()).baseName())
                    .arg(shift.x())
                    .arg(shift.y());
    }
    QCOMPARE(seen.join(u'|'), shown);
}

QTEST_MAIN(TestSkinButton)
#include "tst_skinbutton.moc"
