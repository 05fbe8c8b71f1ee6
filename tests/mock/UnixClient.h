#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

// The address of the socket file at `path`; false when the path does not fit.
inline bool unixSocketAddress(const QString& path, sockaddr_un* address)
{
    const QByteArray name = QFile::encodeName(path);
    *address = {};
    if (name.size() >= qsizetype(sizeof address->sun_path))
        return false;
    address->sun_family = AF_UNIX;
    std::memcpy(address->sun_path, name.constData(), size_t(name.size()));
    return true;
}

// A socket bound to the file at `path`, not listening yet (as a program that crashed leaves its
// file, while the descriptor is open); -1 when it cannot be bound.
inline int bindUnixSocket(const QString& path)
{
    sockaddr_un address;
    if (!unixSocketAddress(path, &address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A client of a Unix-domain socket for tests, on the system's calls alone, so that it checks the
// program's socket code instead of sharing it. It never blocks: while it waits, the test's event
// loop runs, and with it a server on the same thread.
class UnixClient {
public:
    explicit UnixClient(const QString& path)
    {
        sockaddr_un address;
        if (!unixSocketAddress(path, &address))
            return;
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_fd < 0)
            return;
        if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::fcntl(m_fd, F_SETFL, O_NONBLOCK) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    UnixClient(const UnixClient&) = delete;
    UnixClient& operator=(const UnixClient&) = delete;
    ~UnixClient()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    bool isConnected() const { return m_fd >= 0; }

    // Writes what the socket takes now; how much that was.
    qsizetype writeSome(QByteArrayView bytes)
    {
        const ssize_t size = ::send(m_fd, bytes.data(), size_t(bytes.size()), MSG_NOSIGNAL);
        return size < 0 ? 0 : size;
    }

    // Writes `bytes` while the event loop runs; how much went out before the other end closed the
    // connection or `timeoutMs` passed.
    qsizetype write(QByteArrayView bytes, int timeoutMs = 5000)
    {
        qsizetype written = 0;
        (void)QTest::qWaitFor(
            [&] {
                for (;;) {
                    const ssize_t size = ::send(m_fd, bytes.data() + written,
                                                size_t(bytes.size() - written), MSG_NOSIGNAL);
                    if (size > 0)
                        written += size;
                    if (written == bytes.size())
                        return true;
                    if (size < 0)
                        return errno != EAGAIN && errno != EINTR;
                }
            },
            timeoutMs);
        return written;
    }

    // Half-closes the connection: the other end reads the end of the requests.
    void endWriting() { ::shutdown(m_fd, SHUT_WR); }

    // What has come so far, taken.
    QByteArray take()
    {
        receive();
        return std::exchange(m_received, {});
    }

    // Waits, the event loop running, until `count` lines have come, the other end closed the
    // connection or `timeoutMs` passed, and takes what came.
    QByteArray readLines(int count, int timeoutMs = 5000)
    {
        (void)QTest::qWaitFor(
            [&] {
                receive();
                return m_received.count('\n') >= count || isClosedByPeer();
            },
            timeoutMs);
        return take();
    }

    // Whether the other end has closed the connection. Nothing is read: what it sent before
    // stays to be taken, and a server that waits for its answers to be read still waits.
    bool isClosedByPeer()
    {
        if (m_closed)
            return true;
        pollfd entry{m_fd, POLLRDHUP, 0};
        return ::poll(&entry, 1, 0) == 1 && (entry.revents & (POLLRDHUP | POLLHUP | POLLERR));
    }

private:
    void receive()
    {
        while (m_fd >= 0 && !m_closed) {
            char chunk[4096];
            const ssize_t size = ::recv(m_fd, chunk, sizeof chunk, MSG_DONTWAIT);
            if (size > 0)
                m_received.append(chunk, size);
            else if (size == 0 || (errno != EAGAIN && errno != EINTR))
                m_closed = true;
            else if (errno == EAGAIN)
                return;
        }
    }

    int m_fd = -1;
    QByteArray m_received;
    bool m_closed = false;
};
