#pragma once

#include <QWidget>

// The editor's toolbar: one picture of 17 icons with a clickable zone over each, the letters of
// the four text styles over zones 4 to 7, and a mark over the zone under the pointer.
class EditorToolbar : public QWidget {
    Q_OBJECT
public:
    // The zones, numbered as the language files and settings know them.
    enum Zone {
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
    };
    static constexpr int kZoneCount = 17;

    explicit EditorToolbar(QWidget* parent = nullptr);

    // The letters shown over the bold, italic, underline and strike zones.
    void setStyleLetters(const QString& bold, const QString& italic, const QString& underline,
                         const QString& strikeOut);
    void setPointer(const QCursor& cursor);

    // The zone's rectangle in this widget's pixels.
    QRect zoneRect(int zone) const;
    // The zone under the point, or -1.
    int zoneAt(QPoint point) const;
    // The zone the hover mark is over, or -1 while it is hidden.
    int markedZone() const { return m_markedZone; }
    void hideMark();

Q_SIGNALS:
    void zoneClicked(int zone);

private:
    int m_markedZone = -1;
};
