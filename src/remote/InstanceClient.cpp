#include "remote/InstanceClient.h"

#include "platform/InstanceLock.h"
#include "remote/LocalSocket.h"
#include "remote/RemoteMessage.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <optional>
#include <poll.h>

namespace InstanceClient {

namespace {

constexpr int kRetryMs = 20;

bool writeAll(int socket, QByteArrayView bytes, QDeadlineTimer deadline)
{
    while (!bytes.isEmpty()) {
        const ssize_t size = LocalSocket::writeSome(socket, bytes.data(), size_t(bytes.size()));
        if (size >= 0)
            bytes = bytes.sliced(size);
        else if (!LocalSocket::wouldBlock(errno) ||
                 !LocalSocket::waitFor(socket, POLLOUT, deadline))
            return false;
    }
    return true;
}

// The answer's line with its line feed; nothing when the connection ends or the deadline passes
// before it is whole.
std::optional<QByteArray> readAnswer(int socket, QDeadlineTimer deadline)
{
    QByteArray answer;
    while (!answer.contains('\n')) {
        if (answer.size() > RemoteMessage::kMaxLineBytes)
            return std::nullopt;
        char chunk[256];
        const ssize_t size = LocalSocket::readSome(socket, chunk, sizeof chunk);
        if (size > 0)
            answer.append(chunk, size);
        else if (size == 0 || !LocalSocket::wouldBlock(errno) ||
                 !LocalSocket::waitFor(socket, POLLIN, deadline))
            return std::nullopt;
    }
    return answer;
}

} // namespace

Outcome send(const QString& socketPath, const QString& lockPath, const QByteArray& request,
             const Waits& waits)
{
    const auto address = LocalSocket::address(QFile::encodeName(socketPath));
    // No program can listen there.
    if (!address)
        return InstanceLock::isHeld(lockPath) ? Outcome::NotListening : Outcome::NoInstance;

    const QDeadlineTimer starting(waits.starting);
    LocalSocket::Descriptor socket;
    for (;;) {
        socket = LocalSocket::openStream();
        if (socket.isValid() && LocalSocket::connectTo(socket.get(), *address))
            break;
        // A program that holds the claim but has no socket yet is still starting.
        if (!InstanceLock::isHeld(lockPath))
            return Outcome::NoInstance;
        if (starting.hasExpired())
            return Outcome::NotListening;
        QThread::msleep(kRetryMs);
    }

    const QDeadlineTimer answering(waits.answer);
    if (!writeAll(socket.get(), request, answering))
        return Outcome::NoAnswer;
    const auto answer = readAnswer(socket.get(), answering);
    if (!answer)
        return Outcome::NoAnswer;
    return answer->startsWith(QByteArray(RemoteMessage::kAccepted) + '\n') ? Outcome::Accepted
                                                                           : Outcome::Refused;
}

} // namespace InstanceClient
