#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// The lines that other processes of the same user send to the running program through its
// socket: "command NAME" or "open FILE-URL", UTF-8, each ended by a line feed. The program answers
// each with a line of its own.
namespace RemoteMessage {

// The longest absolute path that the file system allows, its terminating zero left out.
inline constexpr qsizetype kMaxPathBytes = 4095;
// Longer lines are never buffered in full: the connection is dropped. Room for an open request
// of the longest path, each of its bytes percent-encoded (three bytes for one).
inline constexpr qsizetype kMaxLineBytes = 16 * 1024;
static_assert(kMaxLineBytes >= qsizetype(sizeof "open file://") + 3 * kMaxPathBytes);

inline constexpr char kAccepted[] = "ok";
inline constexpr char kRefused[] = "refused";

struct Request {
    enum class Kind { Command, Open };
    Kind kind = Kind::Command;
    // The command's name, or the absolute path of the file to open.
    QString argument;

    bool operator==(const Request&) const = default;
};

QByteArray command(const QString& name);
// `path` is made absolute against the sender's working folder.
QByteArray open(const QString& path);

// A line without its line feed; nothing for a line that is not a request: one that is not UTF-8,
// holds a control character or is too long is refused whatever its verb.
std::optional<Request> parse(QByteArrayView line);

} // namespace RemoteMessage
