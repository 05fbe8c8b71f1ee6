#include "remote/InstanceServer.h"

#include "remote/RemoteLogging.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kBacklog = 32;
constexpr int kAcceptPauseMs = 100;
constexpr mode_t kUserOnly = S_IRUSR | S_IWUSR;

// The socket file is the user's alone already; this also turns away a process that was handed
// an open connection by another user's.
bool isSameUser(int socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return false;
    return peer.uid == getuid();
}

QString systemFailure(const QString& path, int error)
{
    return QStringLiteral("%1: %2").arg(path, LocalSocket::errorText(error));
}

} // namespace

InstanceServer::InstanceServer(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler))
{
}

InstanceServer::~InstanceServer()
{
    close();
}

bool InstanceServer::listen(const QString& socketPath, QString* error)
{
    close();
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QByteArray path = QFile::encodeName(socketPath);
    const auto address = LocalSocket::address(path);
    if (!address)
        return fail(QStringLiteral("%1: the path is too long for a socket (%2 bytes at most)")
                        .arg(socketPath)
                        .arg(sizeof(sockaddr_un::sun_path) - 1));

    LocalSocket::Descriptor socket = LocalSocket::openStream();
    // Linux gives the file the socket's mode, less the umask, when it is bound.
    if (!socket.isValid() || ::fchmod(socket.get(), kUserOnly) != 0)
        return fail(systemFailure(socketPath, errno));
    struct stat existing {};
    if (::lstat(path.constData(), &existing) == 0 && S_ISSOCK(existing.st_mode))
        ::unlink(path.constData());
    if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0)
        return fail(systemFailure(socketPath, errno));
    // Nobody can connect before listen(), so a mode that came out otherwise is set in time.
    struct stat made {};
    if (::lstat(path.constData(), &made) != 0 ||
        ((made.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO)) != kUserOnly &&
         ::chmod(path.constData(), kUserOnly) != 0) ||
        ::listen(socket.get(), kBacklog) != 0) {
        const int reason = errno;
        ::unlink(path.constData());
        return fail(systemFailure(socketPath, reason));
    }

    m_socket = std::move(socket);
    m_path = socketPath;
    m_device = made.st_dev;
    m_inode = made.st_ino;
    m_notifier = new QSocketNotifier(m_socket.get(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InstanceServer::acceptConnections);
    return true;
}

void InstanceServer::close()
{
    for (InstanceConnection* connection : std::exchange(m_connections, {})) {
        connection->disconnect(this);
        connection->close();
        connection->deleteLater();
    }
    if (!m_socket.isValid())
        return;
    // Removed while the socket is still bound, so that its file cannot be another's by now.
    const QByteArray path = QFile::encodeName(m_path);
    struct stat current {};
    if (::lstat(path.constData(), &current) == 0 && S_ISSOCK(current.st_mode) &&
        current.st_dev == m_device && current.st_ino == m_inode)
        ::unlink(path.constData());
    m_notifier->setEnabled(false);
    m_notifier->deleteLater();
    m_notifier = nullptr;
    m_socket.reset();
    m_path.clear();
}

void InstanceServer::acceptConnections()
{
    // The others wait in the listening socket's backlog, their requests written, until a place is
    // free: a burst of clients is served in full. One place at most is made for each call, while
    // some client waits.
    if (m_connections.size() >= kMaxConnections && !dropLongestSilent()) {
        pauseAccepting();
        return;
    }
    while (m_socket.isValid() && m_connections.size() < kMaxConnections) {
        LocalSocket::Descriptor socket(
            ::accept4(m_socket.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!socket.isValid()) {
            const int reason = errno;
            if (reason == EINTR || reason == ECONNABORTED)
                continue;
            if (!LocalSocket::wouldBlock(reason)) {
                qCWarning(lcRemote).noquote() << "The program's socket cannot take a connection:"
                                              << LocalSocket::errorText(reason);
                pauseAccepting();
            }
            return;
        }
        if (!isSameUser(socket.get())) {
            qCWarning(lcRemote) << "Connection to the program's socket refused";
            continue;
        }
        auto* connection =
            new InstanceConnection(std::move(socket), m_handler, m_idleTimeout, this);
        m_connections.append(connection);
        connect(connection, &InstanceConnection::closed, this, [this, connection] {
            m_connections.removeOne(connection);
            connection->deleteLater();
            if (m_notifier)
                m_notifier->setEnabled(true);
        });
    }
}

bool InstanceServer::dropLongestSilent()
{
    const auto longest =
        std::min_element(m_connections.cbegin(), m_connections.cend(),
                         [](auto* a, auto* b) { return a->lastHeard() < b->lastHeard(); });
    if (std::chrono::steady_clock::now() - (*longest)->lastHeard() < kSilenceBeforeDropped)
        return false;
    qCWarning(lcRemote) << "Every place at the program's socket is taken: the connection silent "
                           "longest was closed for a new one";
    // Its closed() takes it out of the list.
    (*longest)->close();
    return true;
}

void InstanceServer::pauseAccepting()
{
    m_notifier->setEnabled(false);
    QTimer::singleShot(kAcceptPauseMs, this, [this] {
        if (m_notifier)
            m_notifier->setEnabled(true);
    });
}
