#include "TestFolder.h"
#include "player/SkinButton.h"

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
    // hover, p gives pictures q/r. Button 0 moves (2,3) under the pointer; button 2's hover
    // picture file is missing. Shown: each button's picture and how far it moved.
    QTest::newRow("at rest") << ""
                             << "n0 0,0|n1 0,0|n2 0,0";
    QTest::newRow("enter, move, enter") << "e0 m0 e0"
                                        << "h0 2,3|n1 0,0|n2 0,0";
    QTest::newRow("leave, fast onto the background") << "m0 l0"
                                                     << "n0 0,0|n1 0,0|n2 0,0";
    QTest::newRow("back again") << "e1 l1 e1"
                                << "n0 0,0|h1 0,0|n2 0,0";
    QTest::newRow("onto another, no leave") << "m0 m1"
                                            << "n0 0,0|h1 0,0|n2 0,0";
    QTest::newRow("disabled") << "d1 e1 m1"
                              << "n0 0,0|n1 0,0|n2 0,0";
    QTest::newRow("enabled under the pointer") << "d1 e1 a1 m1"
                                               << "n0 0,0|h1 0,0|n2 0,0";
    QTest::newRow("window opened over it") << "e0 x0"
                                           << "n0 0,0|n1 0,0|n2 0,0";
    QTest::newRow("hover picture missing") << "e2"
                                           << "n0 0,0|n1 0,0|n2 0,0";
    QTest::newRow("new pictures while hovered") << "e1 p1"
                                                << "n0 0,0|r1 0,0|n2 0,0";
    QTest::newRow("new pictures, then leave") << "e1 p1 l1"
                                              << "n0 0,0|q1 0,0|n2 0,0";
}

void TestSkinButton::hoverPictureFollowsThePointer()
{
    QFETCH(QString, steps);
    QFETCH(QString, shown);
    TestFolder folder;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    for (const char* name : {"n0", "h0", "n1", "h1", "n2", "q1", "r1"})
        QVERIFY(image.save(folder.filePath(name + QStringLiteral(".png"))));
    const auto path = [&](char kind, int i) {
        return folder.filePath(QStringLiteral("%1%2.png").arg(kind).arg(i));
    };
    QWidget face;
    SkinButton buttons[3] = {SkinButton(&face), SkinButton(&face), SkinButton(&face)};
    for (int i = 0; i < 3; ++i) {
        buttons[i].setGeometry(20 * i, 0, 10, 10);
        buttons[i].setPictures(path('n', i), path('h', i));
    }
    buttons[0].setHoverShift(QPoint(2, 3));

    const QPointF at(1, 1);
    for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
        SkinButton& b = buttons[step.mid(1).toInt()];
        QEnterEvent enter(at, at, at);
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QEvent leave(QEvent::Leave);
        const char kind = step.at(0).toLatin1();
        if (QEvent* event = kind == 'e'   ? &enter
                            : kind == 'm' ? &move
                            : kind == 'l' ? &leave
                                          : nullptr)
            QCoreApplication::sendEvent(&b, event);
        else if (kind == 'd' || kind == 'a')
            b.setEnabled(kind == 'a');
        else if (kind == 'x')
            b.dropHover();
        else
            b.setPictures(path('q', 1), path('r', 1));
    }

    QStringList seen;
    for (int i = 0; i < 3; ++i) {
        const QPoint moved = buttons[i].pos() - QPoint(20 * i, 0);
        seen << QFileInfo(buttons[i].imagePath()).baseName() +
                    QStringLiteral(" %1,%2").arg(moved.x()).arg(moved.y());
    }
    QCOMPARE(seen.join(u'|'), shown);
}

QTEST_MAIN(TestSkinButton)
#include "tst_skinbutton.moc"
