#pragma once

#include <QString>
#include <QStringList>

// How the player listens along with the typing, kept in "Files/Listening.ini":
//
//   TypeToPause=no
//   TypingRestMs=1000
//   GrowingStepBack=no
//   LoopSeconds=5
//   FollowAlong=yes
struct ListeningOptions {
    // Typing in the transcript pauses the playing recording; it plays on once the typing has
    // rested for typingRestMs.
    bool typeToPause = false;
    int typingRestMs = 1000;
    // Playing on after a long pause steps back further, by a second for every ten of the pause.
    bool growingStepBack = false;
    // How far back the loop of the last seconds starts.
    int loopSeconds = 5;
    // While playing, the transcript's part being heard is highlighted and kept in view.
    bool followAlong = true;

    bool operator==(const ListeningOptions&) const = default;

    static constexpr char kFileName[] = "Listening.ini";
    static constexpr int kShortestLoop = 1;
    static constexpr int kLongestLoop = 600;

    // Unknown names and values that cannot be read leave the defaults.
    static ListeningOptions parse(const QStringList& lines);
    QStringList lines() const;

    // A missing file gives the defaults; one that cannot be read too, with the reason in error.
    static ListeningOptions read(const QString& path, QString* error = nullptr);
    [[nodiscard]] bool write(const QString& path, QString* error = nullptr) const;
};
