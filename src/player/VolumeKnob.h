#pragma once

#include <QTimer>
#include <QWidget>

class PointerLabel;

// The volume slider on the player's face: a knob dragged along a track, or brought to the point
// of a click on the track. Knob positions are twips from the top of the face; the value runs
// from 0 (bottom) to 100 (top). A stored value may differ from what the knob's place reads until
// the knob is next moved. The pointer handlers are public so that a test can drive them.
class VolumeKnob : public QWidget {
    Q_OBJECT
public:
    VolumeKnob(const QString& knobImage, const QString& trackImage, QWidget* face);

    int value() const { return m_value; }
    void setValue(int value) { m_value = value; }
    double knobTop() const { return m_knobTop; }
    // A stored place is kept on the track.
    void setStoredKnobTop(double twips);
    // The knob in the middle of its track, and the value it reads there.
    void centre();
    // The knob at the place of `value` (0 to 100), reading that value.
    void moveToValue(int value);
    void setKnobToolTip(const QString& text);
    // A volume the user chose without the pointer (the arrow keys, a screen reader): the knob
    // moves there and the volume is applied.
    void chooseValue(int value);

    // Positions in twips from the top of the knob or of the track.
    void pressKnob(Qt::MouseButton button);
    void dragKnob(Qt::MouseButtons buttons, double y);
    void releaseKnob(Qt::MouseButton button);
    void pressTrack();
    void moveOverTrack();
    void releaseTrack(Qt::MouseButton button, double y);
    // The drag timer's step: the knob follows the pointer while the left button holds it.
    void followKnobDrag();

Q_SIGNALS:
    // The user set a volume: it is to be applied.
    void volumeChanged(int value);
    // The pointer works the slider: the volume text's fade starts again.
    void touched();
    // The track is pressed: the volume text shows red until it fades.
    void trackPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void moveKnob(double top);
    int valueAtKnob() const;

    PointerLabel* m_knob;
    PointerLabel* m_track;
    QTimer m_dragTimer{this};
    int m_value = 0;
    double m_knobTop = 0;
    double m_dragTarget = 0;
    Qt::MouseButtons m_dragButtons;
};
