#pragma once

#include <QLabel>

// A label that reports the pointer: the volume slider's knob and track and the position text.
// Positions are in the label's own pixels.
class PointerLabel : public QLabel {
    Q_OBJECT
public:
    explicit PointerLabel(QWidget* parent = nullptr);

Q_SIGNALS:
    void pressed(Qt::MouseButton button, QPoint position);
    void moved(Qt::MouseButtons buttons, QPoint position);
    void released(Qt::MouseButton button, QPoint position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
