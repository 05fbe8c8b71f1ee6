#include "remote/LocalSocket.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace LocalSocket {

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept
{
    if (this != &other)
        reset(other.release());
    return *this;
}

int Descriptor::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void Descriptor::reset(int fd)
{
    // Not tried again on EINTR: Linux has released the descriptor whatever close returns.
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

std::optional<sockaddr_un> address(QByteArrayView path)
{
    sockaddr_un result{};
    if (path.isEmpty() || path.size() >= qsizetype(sizeof result.sun_path) || path.contains('\0'))
        return std::nullopt;
    result.sun_family = AF_UNIX;
    std::memcpy(result.sun_path, path.data(), size_t(path.size()));
    return result;
}

Descriptor openStream()
{
    return Descriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
}

bool connectTo(int socket, const sockaddr_un& address)
{
    // A Unix-domain connection is made at once or not at all (EAGAIN: the backlog is full), so
    // an interrupted one is simply tried again.
    for (;;) {
        if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            return true;
        if (errno == EISCONN)
            return true;
        if (errno != EINTR)
            return false;
    }
}

ssize_t readSome(int fd, char* data, size_t size)
{
    for (;;) {
        const ssize_t result = ::read(fd, data, size);
        if (result >= 0 || errno != EINTR)
            return result;
    }
}

ssize_t writeSome(int fd, const char* data, size_t size)
{
    for (;;) {
        const ssize_t result = ::send(fd, data, size, MSG_NOSIGNAL);
        if (result >= 0 || errno != EINTR)
            return result;
    }
}

bool wouldBlock(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK;
}

bool waitFor(int fd, short events, QDeadlineTimer deadline)
{
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, int(deadline.remainingTime()));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
        if (deadline.hasExpired())
            return false;
    }
}

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace LocalSocket
