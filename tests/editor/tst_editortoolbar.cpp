#include "editor/EditorToolbar.h"
#include "platform/Twips.h"

#include <QAccessible>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

namespace {

using Zone = EditorToolbar::Zone;

// A shown toolbar and a watch on its clicks.
struct Fixture {
    EditorToolbar toolbar;
    QSignalSpy clicks{&toolbar, &EditorToolbar::zoneClicked};

    Fixture()
    {
        toolbar.setAutoFillBackground(true);
        toolbar.resize(toolbar.sizeHint());
        toolbar.show();
        if (!QTest::qWaitForWindowExposed(&toolbar))
            qFatal("the toolbar did not show");
    }

    QList<int> clickedZones() const
    {
        QList<int> zones;
        for (const QList<QVariant>& click : clicks)
            zones.append(click.at(0).toInt());
        return zones;
    }

    QPoint centreOf(int zone) const
    {
        // A point left of the toolbar's first zone for the background.
        return zone >= 0 ? toolbar.zoneRect(zone).center()
                         : QPoint(Twips::toPixels(75), Twips::toPixels(240));
    }
};

QPoint twipsPoint(int x, int y)
{
    return QPoint(Twips::toPixels(x), Twips::toPixels(y));
}

// The bounding box of the pixels inside `within` that differ from the background.
QRect inkBounds(const QImage& image, const QRect& within, QRgb background)
{
    QRect bounds;
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            if (image.pixel(x, y) != background)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

} // namespace

class TestEditorToolbar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void zoneGeometry_data();
    void zoneGeometry();
    void zoneAtBetweenAndAcrossZones_data();
    void zoneAtBetweenAndAcrossZones();
    void sizeHintHoldsEveryZone();
    void clicks_data();
    void clicks();
    void hoverMarkFollowsThePointer();
    void markCoversItsZone_data();
    void markCoversItsZone();
    void drawingStaysCentredInTheZones_data();
    void drawingStaysCentredInTheZones();
    void iconsFollowThePalette();
    void lettersKeepTheirStyles_data();
    void lettersKeepTheirStyles();
    void zonesAreNamedButtonsForScreenReaders();
};

void TestEditorToolbar::zoneGeometry_data()
{
    QTest::addColumn<int>("zone");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("width");
    QTest::newRow("new") << int(Zone::New) << 150 << 435;
    QTest::newRow("open") << int(Zone::Open) << 580 << 455;
    QTest::newRow("save") << int(Zone::Save) << 1020 << 435;
    QTest::newRow("print") << int(Zone::Print) << 1440 << 485;
    QTest::newRow("undo") << int(Zone::Undo) << 1980 << 435;
    QTest::newRow("redo") << int(Zone::Redo) << 2400 << 435;
    QTest::newRow("bold") << int(Zone::Bold) << 2880 << 465;
    QTest::newRow("italic") << int(Zone::Italic) << 3300 << 435;
    QTest::newRow("underline") << int(Zone::Underline) << 3720 << 465;
    QTest::newRow("strike") << int(Zone::StrikeOut) << 4140 << 465;
    QTest::newRow("align left") << int(Zone::AlignLeft) << 4650 << 450;
    QTest::newRow("align centre") << int(Zone::AlignCentre) << 5100 << 450;
    QTest::newRow("align right") << int(Zone::AlignRight) << 5550 << 450;
    QTest::newRow("larger") << int(Zone::Larger) << 6040 << 465;
    QTest::newRow("smaller") << int(Zone::Smaller) << 6510 << 465;
    QTest::newRow("colour") << int(Zone::Colour) << 6950 << 465;
    QTest::newRow("bullet") << int(Zone::Bullet) << 7460 << 465;
}

void TestEditorToolbar::zoneGeometry()
{
    QFETCH(int, zone);
    QFETCH(int, left);
    QFETCH(int, width);
    const EditorToolbar toolbar;
    const QRect rect = toolbar.zoneRect(zone);
    QCOMPARE(rect, QRect(Twips::toPixels(left), Twips::toPixels(30), Twips::toPixels(width),
                         Twips::toPixels(435)));

    // Where zones overlap the right one is on top, so a zone always owns its left edge.
    QCOMPARE(toolbar.zoneAt(rect.center()), zone);
    QCOMPARE(toolbar.zoneAt(rect.topLeft()), zone);
    QCOMPARE(toolbar.zoneAt(rect.bottomLeft()), zone);
    QCOMPARE(toolbar.zoneAt(rect.topLeft() - QPoint(0, 1)), -1);
    QCOMPARE(toolbar.zoneAt(rect.bottomLeft() + QPoint(0, 1)), -1);
}

void TestEditorToolbar::zoneAtBetweenAndAcrossZones_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("zone");
    const int middle = 240;
    QTest::newRow("left of new") << twipsPoint(75, middle) << -1;
    QTest::newRow("between print and undo") << twipsPoint(1950, middle) << -1;
    QTest::newRow("between redo and bold") << twipsPoint(2857, middle) << -1;
    QTest::newRow("between strike and align left") << twipsPoint(4627, middle) << -1;
    QTest::newRow("between align right and larger") << twipsPoint(6020, middle) << -1;
    QTest::newRow("between colour and bullet") << twipsPoint(7437, middle) << -1;
    QTest::newRow("right of bullet") << twipsPoint(7950, middle) << -1;
    QTest::newRow("above open") << twipsPoint(800, 10) << -1;
    QTest::newRow("below open") << twipsPoint(800, 480) << -1;
    QTest::newRow("bold and italic overlap") << twipsPoint(3320, middle) << int(Zone::Italic);
    QTest::newRow("smaller and colour overlap") << twipsPoint(6962, middle) << int(Zone::Colour);
}

void TestEditorToolbar::zoneAtBetweenAndAcrossZones()
{
    QFETCH(QPoint, point);
    QFETCH(int, zone);
    QCOMPARE(EditorToolbar().zoneAt(point), zone);
}

void TestEditorToolbar::sizeHintHoldsEveryZone()
{
    const EditorToolbar toolbar;
    QRect zones;
    for (int zone = 0; zone < EditorToolbar::kZoneCount; ++zone)
        zones |= toolbar.zoneRect(zone);
    const QSize hint = toolbar.sizeHint();
    QVERIFY2(QRect(QPoint(0, 0), hint).contains(zones),
             qPrintable(QStringLiteral("%1x%2").arg(hint.width()).arg(hint.height())));
    QCOMPARE(hint.height(), Twips::toPixels(465));
}

void TestEditorToolbar::clicks_data()
{
    QTest::addColumn<int>("pressZone"); // -1: the background
    QTest::addColumn<int>("releaseZone");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QList<int>>("clicked");
    const Qt::MouseButton left = Qt::LeftButton;
    QTest::newRow("new") << int(Zone::New) << int(Zone::New) << left << QList<int>{Zone::New};
    QTest::newRow("redo") << int(Zone::Redo) << int(Zone::Redo) << left << QList<int>{Zone::Redo};
    QTest::newRow("italic") << int(Zone::Italic) << int(Zone::Italic) << left
                            << QList<int>{Zone::Italic};
    QTest::newRow("bullet") << int(Zone::Bullet) << int(Zone::Bullet) << left
                            << QList<int>{Zone::Bullet};
    QTest::newRow("bold to italic") << int(Zone::Bold) << int(Zone::Italic) << left << QList<int>{};
    QTest::newRow("save to background") << int(Zone::Save) << -1 << left << QList<int>{};
    QTest::newRow("background to save") << -1 << int(Zone::Save) << left << QList<int>{};
    QTest::newRow("right button") << int(Zone::Save) << int(Zone::Save) << Qt::RightButton
                                  << QList<int>{};
    QTest::newRow("middle button")
        << int(Zone::Open) << int(Zone::Open) << Qt::MiddleButton << QList<int>{};
}

void TestEditorToolbar::clicks()
{
    QFETCH(int, pressZone);
    QFETCH(int, releaseZone);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QList<int>, clicked);
    Fixture f;
    QTest::mousePress(&f.toolbar, button, Qt::NoModifier, f.centreOf(pressZone));
    QTest::mouseMove(&f.toolbar, f.centreOf(releaseZone));
    QTest::mouseRelease(&f.toolbar, button, Qt::NoModifier, f.centreOf(releaseZone));
    QCOMPARE(f.clickedZones(), clicked);

    // No press is left behind for a lone release to complete.
    f.clicks.clear();
    QTest::mouseRelease(&f.toolbar, Qt::LeftButton, Qt::NoModifier, f.centreOf(pressZone));
    QCOMPARE(f.clickedZones(), QList<int>{});
}

void TestEditorToolbar::hoverMarkFollowsThePointer()
{
    Fixture f;
    f.toolbar.setPointer(QCursor(Qt::CrossCursor));
    QCOMPARE(f.toolbar.markedZone(), -1);

    const auto moveTo = [&f](int zone) { QTest::mouseMove(&f.toolbar, f.centreOf(zone)); };
    moveTo(Zone::Open);
    QCOMPARE(f.toolbar.markedZone(), int(Zone::Open));
    QCOMPARE(f.toolbar.cursor().shape(), Qt::CrossCursor);
    moveTo(Zone::Italic);
    QCOMPARE(f.toolbar.markedZone(), int(Zone::Italic));

    moveTo(-1);
    QCOMPARE(f.toolbar.markedZone(), -1);
    QCOMPARE(f.toolbar.cursor().shape(), Qt::ArrowCursor);

    moveTo(Zone::Bullet);
    QCOMPARE(f.toolbar.markedZone(), int(Zone::Bullet));
    // A new pointer shows at once over a zone.
    f.toolbar.setPointer(QCursor(Qt::PointingHandCursor));
    QCOMPARE(f.toolbar.cursor().shape(), Qt::PointingHandCursor);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&f.toolbar, &leave);
    QCOMPARE(f.toolbar.markedZone(), -1);

    moveTo(Zone::Save);
    QCOMPARE(f.toolbar.markedZone(), int(Zone::Save));
    f.toolbar.hideMark();
    QCOMPARE(f.toolbar.markedZone(), -1);
}

void TestEditorToolbar::markCoversItsZone_data()
{
    QTest::addColumn<int>("zone");
    QTest::newRow("new") << int(Zone::New);
    QTest::newRow("underline") << int(Zone::Underline);
    QTest::newRow("bullet") << int(Zone::Bullet);
}

void TestEditorToolbar::markCoversItsZone()
{
    QFETCH(int, zone);
    Fixture f;
    const QImage unmarked = f.toolbar.grab().toImage();
    QTest::mouseMove(&f.toolbar, f.centreOf(zone));
    const QImage marked = f.toolbar.grab().toImage();
    QCOMPARE(marked.size(), unmarked.size());

    QRect changed;
    for (int y = 0; y < marked.height(); ++y) {
        for (int x = 0; x < marked.width(); ++x) {
            if (marked.pixel(x, y) != unmarked.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
        }
    }
    QCOMPARE(changed, f.toolbar.zoneRect(zone));

    f.toolbar.hideMark();
    QCOMPARE(f.toolbar.grab().toImage(), unmarked);
}

void TestEditorToolbar::drawingStaysCentredInTheZones_data()
{
    QTest::addColumn<bool>("englishLetters");
    QTest::newRow("first letters") << false;
    QTest::newRow("english letters") << true;
}

void TestEditorToolbar::drawingStaysCentredInTheZones()
{
    QFETCH(bool, englishLetters);
    Fixture f;
    if (englishLetters)
        f.toolbar.setStyleLetters("B", "I", "U", "S");
    const QImage image = f.toolbar.grab().toImage();
    const QRgb background = f.toolbar.palette().color(QPalette::Window).rgb();

    QRect zones;
    for (int zone = 0; zone < EditorToolbar::kZoneCount; ++zone) {
        const QRect area = f.toolbar.zoneRect(zone);
        zones |= area;
        const QRect ink = inkBounds(image, area, background);
        QVERIFY2(ink.isValid(), qPrintable(QStringLiteral("zone %1 is empty").arg(zone)));
        const QPointF offset = QRectF(ink).center() - QRectF(area).center();
        QVERIFY2(std::abs(offset.x()) <= 1.5 && std::abs(offset.y()) <= 1.5,
                 qPrintable(QStringLiteral("zone %1 is off by %2, %3")
                                .arg(zone)
                                .arg(offset.x())
                                .arg(offset.y())));
        // The edges stay free for the mark's frame.
        QVERIFY(area.adjusted(1, 1, -1, -1).contains(ink));
    }
    // Nothing is drawn between or around the zones.
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == background)
                continue;
            bool inZone = false;
            for (int zone = 0; zone < EditorToolbar::kZoneCount && !inZone; ++zone)
                inZone = f.toolbar.zoneRect(zone).contains(x, y);
            QVERIFY2(inZone, qPrintable(QStringLiteral("drawn at %1, %2").arg(x).arg(y)));
        }
    }
}

void TestEditorToolbar::iconsFollowThePalette()
{
    Fixture f;
    const QRect save = f.toolbar.zoneRect(Zone::Save);
    const QImage before = f.toolbar.grab(save).toImage();
    QPalette palette = f.toolbar.palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    f.toolbar.setPalette(palette);
    const QImage after = f.toolbar.grab(save).toImage();
    QVERIFY(after != before);
    // The outline takes the new text colour's hue.
    bool reddish = false;
    for (int y = 0; y < after.height() && !reddish; ++y) {
        for (int x = 0; x < after.width() && !reddish; ++x) {
            const QColor colour = after.pixelColor(x, y);
            reddish = colour.red() > 200 && colour.green() < 100 && colour.blue() < 100;
        }
    }
    QVERIFY(reddish);
}

void TestEditorToolbar::lettersKeepTheirStyles_data()
{
    QTest::addColumn<int>("zone");
    QTest::addColumn<QString>("firstLetter");
    QTest::addColumn<QString>("englishLetter");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strikeOut");
    QTest::newRow("bold") << int(Zone::Bold) << "G"
                          << "B" << true << false << false << false;
    QTest::newRow("italic") << int(Zone::Italic) << "i"
                            << "I" << false << true << false << false;
    QTest::newRow("underline") << int(Zone::Underline) << "S"
                               << "U" << false << false << true << false;
    QTest::newRow("strike") << int(Zone::StrikeOut) << "b"
                            << "S" << false << false << false << true;
}

void TestEditorToolbar::lettersKeepTheirStyles()
{
    QFETCH(int, zone);
    QFETCH(QString, firstLetter);
    QFETCH(QString, englishLetter);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(bool, strikeOut);
    EditorToolbar toolbar;
    const auto checkStyle = [&] {
        const QFont font = toolbar.styleLetterFont(zone);
        QCOMPARE(font.bold(), bold);
        QCOMPARE(font.italic(), italic);
        QCOMPARE(font.underline(), underline);
        QCOMPARE(font.strikeOut(), strikeOut);
    };
    QCOMPARE(toolbar.styleLetter(zone), firstLetter);
    checkStyle();

    toolbar.setStyleLetters("B", "I", "U", "S");
    QCOMPARE(toolbar.styleLetter(zone), englishLetter);
    checkStyle();

    // The letters are drawn: a zone whose letter changes looks different.
    toolbar.resize(toolbar.sizeHint());
    const QImage english = toolbar.grab(toolbar.zoneRect(zone)).toImage();
    toolbar.setStyleLetters("W", "W", "W", "W");
    QVERIFY(toolbar.grab(toolbar.zoneRect(zone)).toImage() != english);
    checkStyle();
}

void TestEditorToolbar::zonesAreNamedButtonsForScreenReaders()
{
    Fixture f;
    f.toolbar.setZoneName(Zone::Save, QStringLiteral("save name"));
    f.toolbar.setZoneName(Zone::Redo, QStringLiteral("redo name"));
    QAccessibleInterface* toolbar = QAccessible::queryAccessibleInterface(&f.toolbar);
    QVERIFY(toolbar);

    QAccessibleInterface* save = nullptr;
    QStringList names;
    for (int index = 0; index < toolbar->childCount(); ++index) {
        QAccessibleInterface* child = toolbar->child(index);
        names.append(child->text(QAccessible::Name));
        if (child->text(QAccessible::Name) == QStringLiteral("save name"))
            save = child;
    }
    QCOMPARE(toolbar->childCount(), EditorToolbar::kZoneCount);
    // Met in the order they are seen: undo and redo come after print.
    QCOMPARE(names.indexOf("save name"), 2);
    QCOMPARE(names.indexOf("redo name"), 5);
    QVERIFY(save);
    QCOMPARE(save->role(), QAccessible::Button);
    QCOMPARE(save->rect(), QRect(f.toolbar.mapToGlobal(f.toolbar.zoneRect(Zone::Save).topLeft()),
                                 f.toolbar.zoneRect(Zone::Save).size()));

    save->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(f.clickedZones(), QList<int>{Zone::Save});
}

QTEST_MAIN(TestEditorToolbar)
#include "tst_editortoolbar.moc"
