#pragma once

#include <QCursor>
#include <QFont>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <optional>

class QAbstractButton;

// The editor's toolbar: one picture of 18 icons with a clickable zone over each, the letters of
// the four text styles over zones 4 to 7, and a mark over the zone under the pointer.
class EditorToolbar : public QWidget {
    Q_OBJECT
public:
    // The zones, numbered as the language files and settings know them.
    enum class Zone {
        New = 0,
        Open = 1,
        Save = 2,
        Print = 3,
        Bold = 4,
        Italic = 5,
        Underline = 6,
        StrikeOut = 7,
        AlignLeft = 8,
        AlignCentre = 9,
        AlignRight = 10,
        Larger = 11,
        Smaller = 12,
        Colour = 13,
        Bullet = 14,
        Undo = 15,
        Redo = 16,
        Timestamp = 17,
    };
    Q_ENUM(Zone)
    static constexpr int kZoneCount = 18;

    // Every zone, in number order.
    static constexpr std::array<Zone, kZoneCount> allZones()
    {
        std::array<Zone, kZoneCount> zones{};
        for (int number = 0; number < kZoneCount; ++number)
            zones[number] = Zone(number);
        return zones;
    }

    explicit EditorToolbar(QWidget* parent = nullptr);

    // The letters shown over the bold, italic, underline and strike zones.
    void setStyleLetters(const QString& bold, const QString& italic, const QString& underline,
                         const QString& strikeOut);
    // The letter over a style zone (Bold to StrikeOut) and the font it is drawn in; an empty
    // text and the widget's font for the other zones.
    QString styleLetter(Zone zone) const;
    QFont styleLetterFont(Zone zone) const;

    void setPointer(const QCursor& cursor);
    // The name screen readers give the zone's button.
    void setZoneName(Zone zone, const QString& name);
    // The tip shown while the pointer rests on the zone; none when empty.
    void setZoneToolTip(Zone zone, const QString& tip);
    QString zoneToolTip(Zone zone) const;

    // The zone's rectangle in this widget's pixels.
    QRect zoneRect(Zone zone) const;
    // The zone under the point, if any. Where two zones overlap, the right one is on top.
    std::optional<Zone> zoneAt(QPoint point) const;
    // The zone the hover mark is over; none while it is hidden.
    std::optional<Zone> markedZone() const { return m_markedZone; }
    void hideMark();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void zoneClicked(EditorToolbar::Zone zone);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static constexpr int kLetterCount = 4;

    QRect pictureRect() const;
    const QPixmap& picture(qreal devicePixelRatio);
    void paintLetters(QPainter& painter) const;
    void paintMark(QPainter& painter) const;
    void setMarkedZone(std::optional<Zone> zone);
    void showPointerOverZone(bool overZone);

    std::optional<Zone> m_markedZone;
    std::optional<Zone> m_pressedZone;
    bool m_pointerShown = false;
    QCursor m_pointer{Qt::PointingHandCursor};
    std::array<QString, kLetterCount> m_letters;
    std::array<QFont, kLetterCount> m_letterFonts;
    std::array<QAbstractButton*, kZoneCount> m_zoneButtons{};
    std::array<QString, kZoneCount> m_zoneToolTips;
    // The icons drawn for one device pixel ratio and palette; drawn again when either changes.
    QPixmap m_picture;
    bool m_pictureStale = true;
};
