#include "platform/SkinImage.h"

#include <QFileInfo>
#include <QImageReader>

namespace SkinImage {

QImage read(const QString& path)
{
    if (!QFileInfo::exists(path))
        return {};
    QImageReader reader(path, QFileInfo(path).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull()) {
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

std::optional<QCursor> pointer(const QString& path)
{
    // The fingertip of the pointer icon.
    constexpr int kHotX = 9;
    constexpr int kHotY = 1;
    const QPixmap icon = pixmap(path);
    if (icon.isNull())
        return std::nullopt;
    return QCursor(icon.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation), kHotX,
                   kHotY);
}

} // namespace SkinImage
