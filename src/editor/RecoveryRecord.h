#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// What a recovery copy belongs to, kept beside it: one "Name=value" line each.
//
//   Document=/home/anna/interview.rtf     (empty for an untitled document)
//   Untitled=3
//   Media=/home/anna/interview.mp3        (empty without media)
//   Position=754.300
//   Written=2024-05-01T10:22:03
struct RecoveryRecord {
    QString documentPath;
    int untitledNumber = 1;
    QString mediaPath;
    double position = 0; // seconds
    QDateTime written;

    bool operator==(const RecoveryRecord&) const = default;

    // Lines that are missing or cannot be read leave their defaults: a damaged record still
    // gives back the copy, as an untitled document without media.
    static RecoveryRecord parse(const QStringList& lines);
    QStringList lines() const;
};
