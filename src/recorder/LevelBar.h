#pragma once

#include <QWidget>

// One level meter's bar, laid on its frame from the left. Its colour runs from green to red
// across the whole frame, so a bar's end shows how loud it is.
class LevelBar : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent* event) override;
};
