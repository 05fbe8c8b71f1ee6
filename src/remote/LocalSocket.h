#pragma once

#include <QByteArrayView>
#include <QDeadlineTimer>
#include <QString>
#include <optional>
#include <sys/types.h>
#include <sys/un.h>

// The Unix-domain stream sockets through which the user's processes reach the running program:
// what its end and theirs share.
namespace LocalSocket {

// Owns a file descriptor and closes it when it goes.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : m_fd(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }

    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    int release();
    void reset(int fd = -1);

private:
    int m_fd = -1;
};

// The address of the socket file at `path` (in the file system's encoding). A path that does not
// fit, with its terminating zero, or that holds a zero byte, has none: shortened, it would name
// another file.
std::optional<sockaddr_un> address(QByteArrayView path);

// A new stream socket, non-blocking and closed on exec; invalid, with errno set, on failure.
Descriptor openStream();

// Connects `socket` to `address`; false with errno set when nobody takes the connection now.
bool connectTo(int socket, const sockaddr_un& address);

// A read or send that a signal interrupts is tried again, and a send to a closed connection never
// raises SIGPIPE. Both return what read(2) and send(2) do.
ssize_t readSome(int fd, char* data, size_t size);
ssize_t writeSome(int fd, const char* data, size_t size);

// Whether an error number means that the socket is not ready yet.
bool wouldBlock(int error);

// Waits until `fd` is ready for `events` (poll(2) events), has failed or was hung up; false once
// `deadline` has passed.
bool waitFor(int fd, short events, QDeadlineTimer deadline);

// The system's text for an error number.
QString errorText(int error);

} // namespace LocalSocket
