#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

// The video window's options, kept in "Files/Video.ini": one "Name=value" line each.
//
//   Shown=yes
//   Place=9000,600,7200,4050
//
// The place is the window's outer left and top and inner width and height in twips; none until
// the window has been shown.
struct VideoOptions {
    bool shown = true;
    QRect place;

    bool operator==(const VideoOptions&) const = default;

    static constexpr char kFileName[] = "Video.ini";

    // Unknown names and values that cannot be read leave the defaults.
    static VideoOptions parse(const QStringList& lines);
    QStringList lines() const;

    // A missing file gives the defaults; one that cannot be read too, with the reason in error.
    static VideoOptions read(const QString& path, QString* error = nullptr);
    [[nodiscard]] bool write(const QString& path, QString* error = nullptr) const;
};
