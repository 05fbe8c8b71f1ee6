#pragma once

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <optional>

// The skin's pictures, read by the format their file name says. Left to guess, Qt asks every
// image plugin it has, loading them all, before the first window can show.
namespace SkinImage {

// A null image when the file is missing or unreadable.
QImage read(const QString& path);
QPixmap pixmap(const QString& path);

// The pointing hand of the pointer icon file, for the controls a user clicks; nullopt when the
// file cannot be read.
std::optional<QCursor> pointer(const QString& path);

} // namespace SkinImage
