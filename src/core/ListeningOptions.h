#pragma once

#include <QString>
#include <QStringList>

// How the player listens along with the typing, kept in "Files/Listening.ini":
//
//   TypeToPause=no
//   TypingRestMs=1000
struct ListeningOptions {
    // Typing in the transcript pauses the playing recording; it plays on once the typing has
    // rested for typingRestMs.
    bool typeToPause = false;
    int typingRestMs = 1000;

    bool operator==(const ListeningOptions&) const = default;

    static constexpr char kFileName[] = "Listening.ini";

    // Unknown names and values that cannot be read leave the defaults.
    static ListeningOptions parse(const QStringList& lines);
    QStringList lines() const;

    // A missing file gives the defaults; one that cannot be read too, with the reason in error.
    static ListeningOptions read(const QString& path, QString* error = nullptr);
    [[nodiscard]] bool write(const QString& path, QString* error = nullptr) const;
};
