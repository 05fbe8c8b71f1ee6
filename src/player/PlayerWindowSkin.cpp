#include "player/PlayerWindow.h"
#include "player/SkinButton.h"

QStringList PlayerWindow::skinPictureNames()
{
    return {QStringLiteral("sfondo.jpg"),       QStringLiteral("display.jpg"),
            QStringLiteral("volume-track.png"), QStringLiteral("volume-knob.png"),
            QStringLiteral("play.jpg"),         QStringLiteral("stop.jpg"),
            QStringLiteral("bac.jpg"),          QStringLiteral("for.jpg"),
            QStringLiteral("rec.jpg"),          QStringLiteral("Apri.bmp"),
            QStringLiteral("vocarta.png"),      QStringLiteral("Indica.ico"),
            QStringLiteral("play2.jpg"),        QStringLiteral("pause.jpg"),
            QStringLiteral("pause2.jpg"),       QStringLiteral("stop2.jpg"),
            QStringLiteral("bac2.jpg"),         QStringLiteral("for2.jpg"),
            QStringLiteral("rec2.jpg"),         QStringLiteral("Apri2.bmp")};
}

void PlayerWindow::setPictures(SkinButton* button, const char* normal, const char* hover)
{
    button->setPictures(imagePath(QLatin1String(normal)), imagePath(QLatin1String(hover)));
}
