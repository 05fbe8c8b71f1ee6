#include "editor/EditorToolbar.h"
#include "platform/Twips.h"

#include <QAccessible>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <optional>

using Zone = EditorToolbar::Zone;

// Names the zone, or none, in a failed comparison.
char* toString(const std::optional<Zone>& zone)
{
    return zone ? QTest::toString(*zone) : qstrdup("none");
}

namespace {

constexpr std::optional<Zone> kNoZone;

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

    QList<Zone> clickedZones() const
    {
        QList<Zone> zones;
        for (const QList<QVariant>& click : clicks)
            zones.append(click.at(0).value<Zone>());
        return zones;
    }

    QPoint centreOf(std::optional<Zone> zone) const
    {
        // A point left of the toolbar's first zone for the background.
        return zone ? toolbar.zoneRect(*zone).center()
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
    QTest::addColumn<Zone>("zone");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("width");
    QTest::newRow("new") << Zone::New << 150 << 435;
    QTest::newRow("open") << Zone::Open << 580 << 455;
    QTest::newRow("save") << Zone::Save << 1020 << 435;
    QTest::newRow("print") << Zone::Print << 1440 << 485;
    QTest::newRow("undo") << Zone::Undo << 1980 << 435;
    QTest::newRow("redo") << Zone::Redo << 2400 << 435;
    QTest::newRow("bold") << Zone::Bold << 2880 << 465;
    QTest::newRow("italic") << Zone::Italic << 3300 << 435;
    QTest::newRow("underline") << Zone::Underline << 3720 << 465;
    QTest::newRow("strike") << Zone::StrikeOut << 4140 << 465;
    QTest::newRow("align left") << Zone::AlignLeft << 4650 << 450;
    QTest::newRow("align centre") << Zone::AlignCentre << 5100 << 450;
    QTest::newRow("align right") << Zone::AlignRight << 5550 << 450;
    QTest::newRow("larger") << Zone::Larger << 6040 << 465;
    QTest::newRow("smaller") << Zone::Smaller << 6510 << 465;
    QTest::newRow("colour") << Zone::Colour << 6950 << 465;
    QTest::newRow("bullet") << Zone::Bullet << 7460 << 465;
}

void TestEditorToolbar::zoneGeometry()
{
    QFETCH(Zone, zone);
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
    QCOMPARE(toolbar.zoneAt(rect.topLeft() - QPoint(0, 1)), kNoZone);
    QCOMPARE(toolbar.zoneAt(rect.bottomLeft() + QPoint(0, 1)), kNoZone);
}

void TestEditorToolbar::zoneAtBetweenAndAcrossZones_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<std::optional<Zone>>("zone");
    const int middle = 240;
    QTest::newRow("left of new") << twipsPoint(75, middle) << kNoZone;
    QTest::newRow("between print and undo") << twipsPoint(1950, middle) << kNoZone;
    QTest::newRow("between redo and bold") << twipsPoint(2857, middle) << kNoZone;
    QTest::newRow("between strike and align left") << twipsPoint(4627, middle) << kNoZone;
    QTest::newRow("between align right and larger") << twipsPoint(6020, middle) << kNoZone;
    QTest::newRow("between colour and bullet") << twipsPoint(7437, middle) << kNoZone;
    QTest::newRow("right of bullet") << twipsPoint(7950, middle) << kNoZone;
    QTest::newRow("above open") << twipsPoint(800, 10) << kNoZone;
    QTest::newRow("below open") << twipsPoint(800, 480) << kNoZone;
    QTest::newRow("bold and italic overlap")
        << twipsPoint(3320, middle) << std::optional(Zone::Italic);
    QTest::newRow("smaller and colour overlap")
        << twipsPoint(6962, middle) << std::optional(Zone::Colour);
}

void TestEditorToolbar::zoneAtBetweenAndAcrossZones()
{
    QFETCH(QPoint, point);
    QFETCH(std::optional<Zone>, zone);
    QCOMPARE(EditorToolbar().zoneAt(point), zone);
}

void TestEditorToolbar::sizeHintHoldsEveryZone()
{
    const EditorToolbar toolbar;
    QRect zones;
    for (const Zone zone : EditorToolbar::allZones())
        zones |= toolbar.zoneRect(zone);
    const QSize hint = toolbar.sizeHint();
    QVERIFY2(QRect(QPoint(0, 0), hint).contains(zones),
             qPrintable(QStringLiteral("%1x%2").arg(hint.width()).arg(hint.height())));
    QCOMPARE(hint.height(), Twips::toPixels(465));
}

void TestEditorToolbar::clicks_data()
{
    QTest::addColumn<std::optional<Zone>>("pressZone"); // none: the background
    QTest::addColumn<std::optional<Zone>>("releaseZone");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QList<Zone>>("clicked");
    const Qt::MouseButton left = Qt::LeftButton;
    const auto row = [](const char* name, std::optional<Zone> press, std::optional<Zone> release,
                        Qt::MouseButton button, const QList<Zone>& clicked) {
        QTest::newRow(name) << press << release << button << clicked;
    };
    row("new", Zone::New, Zone::New, left, {Zone::New});
    row("redo", Zone::Redo, Zone::Redo, left, {Zone::Redo});
    row("italic", Zone::Italic, Zone::Italic, left, {Zone::Italic});
    row("bullet", Zone::Bullet, Zone::Bullet, left, {Zone::Bullet});
    row("bold to italic", Zone::Bold, Zone::Italic, left, {});
    row("save to background", Zone::Save, kNoZone, left, {});
    row("background to save", kNoZone, Zone::Save, left, {});
    row("right button", Zone::Save, Zone::Save, Qt::RightButton, {});
    row("middle button", Zone::Open, Zone::Open, Qt::MiddleButton, {});
}

void TestEditorToolbar::clicks()
{
    QFETCH(std::optional<Zone>, pressZone);
    QFETCH(std::optional<Zone>, releaseZone);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QList<Zone>, clicked);
    Fixture f;
    QTest::mousePress(&f.toolbar, button, Qt::NoModifier, f.centreOf(pressZone));
    QTest::mouseMove(&f.toolbar, f.centreOf(releaseZone));
    QTest::mouseRelease(&f.toolbar, button, Qt::NoModifier, f.centreOf(releaseZone));
    QCOMPARE(f.clickedZones(), clicked);

    // No press is left behind for a lone release to complete.
    f.clicks.clear();
    QTest::mouseRelease(&f.toolbar, Qt::LeftButton, Qt::NoModifier, f.centreOf(pressZone));
    QCOMPARE(f.clickedZones(), QList<Zone>{});
}

void TestEditorToolbar::hoverMarkFollowsThePointer()
{
    Fixture f;
    f.toolbar.setPointer(QCursor(Qt::CrossCursor));
    QCOMPARE(f.toolbar.markedZone(), kNoZone);

    const auto moveTo = [&f](std::optional<Zone> zone) {
        QTest::mouseMove(&f.toolbar, f.centreOf(zone));
    };
    moveTo(Zone::Open);
    QCOMPARE(f.toolbar.markedZone(), Zone::Open);
    QCOMPARE(f.toolbar.cursor().shape(), Qt::CrossCursor);
    moveTo(Zone::Italic);
    QCOMPARE(f.toolbar.markedZone(), Zone::Italic);

    moveTo(kNoZone);
    QCOMPARE(f.toolbar.markedZone(), kNoZone);
    QCOMPARE(f.toolbar.cursor().shape(), Qt::ArrowCursor);

    moveTo(Zone::Bullet);
    QCOMPARE(f.toolbar.markedZone(), Zone::Bullet);
    // A new pointer shows at once over a zone.
    f.toolbar.setPointer(QCursor(Qt::PointingHandCursor));
    QCOMPARE(f.toolbar.cursor().shape(), Qt::PointingHandCursor);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&f.toolbar, &leave);
    QCOMPARE(f.toolbar.markedZone(), kNoZone);

    moveTo(Zone::Save);
    QCOMPARE(f.toolbar.markedZone(), Zone::Save);
    f.toolbar.hideMark();
    QCOMPARE(f.toolbar.markedZone(), kNoZone);
}

void TestEditorToolbar::markCoversItsZone_data()
{
    QTest::addColumn<Zone>("zone");
    QTest::newRow("new") << Zone::New;
    QTest::newRow("underline") << Zone::Underline;
    QTest::newRow("bullet") << Zone::Bullet;
}

void TestEditorToolbar::markCoversItsZone()
{
    QFETCH(Zone, zone);
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
    for (const Zone zone : EditorToolbar::allZones()) {
        const QRect area = f.toolbar.zoneRect(zone);
        zones |= area;
        const QRect ink = inkBounds(image, area, background);
        QVERIFY2(ink.isValid(), qPrintable(QStringLiteral("zone %1 is empty").arg(int(zone))));
        const QPointF offset = QRectF(ink).center() - QRectF(area).center();
        QVERIFY2(std::abs(offset.x()) <= 1.5 && std::abs(offset.y()) <= 1.5,
                 qPrintable(QStringLiteral("zone %1 is off by %2, %3")
                                .arg(int(zone))
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
            for (const Zone zone : EditorToolbar::allZones())
                inZone = inZone || f.toolbar.zoneRect(zone).contains(x, y);
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
    QTest::addColumn<Zone>("zone");
    QTest::addColumn<QString>("firstLetter");
    QTest::addColumn<QString>("englishLetter");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strikeOut");
    QTest::newRow("bold") << Zone::Bold << "G"
                          << "B" << true << false << false << false;
    QTest::newRow("italic") << Zone::Italic << "i"
                            << "I" << false << true << false << false;
    QTest::newRow("underline") << Zone::Underline << "S"
                               << "U" << false << false << true << false;
    QTest::newRow("strike") << Zone::StrikeOut << "b"
                            << "S" << false << false << false << true;
}

void TestEditorToolbar::lettersKeepTheirStyles()
{
    QFETCH(Zone, zone);
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
    QTRY_COMPARE(f.clickedZones(), QList<Zone>{Zone::Save});
}

QTEST_MAIN(TestEditorToolbar)
#include "tst_editortoolbar.moc"
