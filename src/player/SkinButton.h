#pragma once

#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QWidget>

// A picture that acts as a button: the player's transport and open buttons. It shows an image
// file scaled into its box, its hover picture while the pointer is on it and it is enabled, and
// reports clicks. Of the buttons on one face, one only shows its hover picture at a time.
class SkinButton : public QWidget {
    Q_OBJECT
public:
    explicit SkinButton(QWidget* parent = nullptr);

    // The picture files at rest and under the pointer; the one for the pointer's place shows at
    // once. A missing or unreadable file keeps the picture as it was.
    void setPictures(const QString& normalPath, const QString& hoverPath);
    // How far the button moves while it shows its hover picture (none unless set).
    void setHoverShift(QPoint shift) { m_hoverShift = shift; }
    bool isHovered() const { return m_hovered; }
    // Back to the picture and place at rest, as if the pointer had left: a window opened over
    // the button takes the pointer away without a move off it.
    void dropHover();
    // The file of the picture shown.
    QString imagePath() const { return m_imagePath; }
    // A click from the keyboard or a screen reader: nothing while disabled.
    void click();

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void hover();
    bool showImage(const QString& path);

    QPixmap m_pixmap;
    QString m_imagePath;
    QString m_normalPath;
    QString m_hoverPath;
    QPoint m_hoverShift;
    bool m_hovered = false;
    bool m_pressed = false;
};
