#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

// A picture that acts as a button: the player's transport and open buttons. It shows an image
// file scaled into its box, and reports clicks and pointer moves.
class SkinButton : public QWidget {
    Q_OBJECT
public:
    explicit SkinButton(QWidget* parent = nullptr);

    // Loads the picture from the file each time; a missing or unreadable file keeps the
    // picture as it was. Returns whether the file loaded.
    bool showImage(const QString& path);
    QString imagePath() const { return m_imagePath; }

Q_SIGNALS:
    void clicked();
    void pointerMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    QPixmap m_pixmap;
    QString m_imagePath;
    bool m_pressed = false;
};
