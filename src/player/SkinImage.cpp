#include "player/SkinImage.h"

#include <QFileInfo>
#include <QImageReader>

namespace SkinImage {

QImage read(const QString& path)
{
    QImageReader reader(path, QFileInfo(path).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull() && QFileInfo::exists(path)) {
        // A picture saved under another format's name still shows.
        QImageReader guessing(path);
        image = guessing.read();
    }
    return image;
}

QPixmap pixmap(const QString& path)
{
    return QPixmap::fromImage(read(path));
}

} // namespace SkinImage
