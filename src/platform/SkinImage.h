#pragma once

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <optional>

// The skin's pictures, read by the format their file name says. Left to guess, Qt asks every
// image plugin it has, loading them all, before the first window can show.
//
// Pictures are kept once read, as long as their file stays the same: a button's pictures change
// with every pass of the pointer.
namespace SkinImage {

// A null image when the file is missing or unreadable.
QImage read(const QString& path);
QPixmap pixmap(const QString& path);

// Starts reading the pictures on another thread, in this order, so that a window being built
// meanwhile finds them ready; a read() of one still on its way waits for it.
void preload(const QStringList& paths);

// The pointing hand of the pointer icon file, for the controls a user clicks; nullopt when the
// file cannot be read.
std::optional<QCursor> pointer(const QString& path);

} // namespace SkinImage
