#include "remote/InstanceServer.h"

#include "remote/RemoteLogging.h"

#include <QLocalSocket>
#include <QTimer>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The socket file is the user's alone already; this also turns away a process that was handed
// an open connection by another user's.
bool isSameUser(const QLocalSocket* socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return false;
    return peer.uid == getuid();
}

} // namespace

InstanceServer::InstanceServer(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler))
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &InstanceServer::acceptConnections);
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listen(const QString& socketPath, QString* error)
{
    QLocalServer::removeServer(socketPath);
    if (m_server.listen(socketPath))
        return true;
    if (error)
        *error = m_server.errorString();
    return false;
}

QString InstanceServer::socketPath() const
{
    return m_server.fullServerName();
}

void InstanceServer::acceptConnections()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        if (m_connections >= kMaxConnections || !isSameUser(socket)) {
            qCWarning(lcRemote) << "Connection to the program's socket refused";
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_connections;
        connect(socket, &QObject::destroyed, this, [this] { --m_connections; });
        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        idle->start(kIdleMs);
        connect(idle, &QTimer::timeout, socket, [this, socket] {
            qCWarning(lcRemote) << "A silent connection to the program's socket was closed";
            drop(socket);
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, idle] {
            idle->start(kIdleMs);
            readRequests(socket);
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Sent before the connection was taken.
        if (socket->bytesAvailable() > 0)
            readRequests(socket);
    }
}

void InstanceServer::readRequests(QLocalSocket* socket)
{
    while (socket->state() == QLocalSocket::ConnectedState) {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > RemoteMessage::kMaxLineBytes) {
                qCWarning(lcRemote) << "An overlong message to the program's socket was dropped";
                drop(socket);
            }
            return;
        }
        QByteArray line = socket->readLine(RemoteMessage::kMaxLineBytes + 2);
        if (!line.endsWith('\n')) {
            qCWarning(lcRemote) << "An overlong message to the program's socket was dropped";
            drop(socket);
            return;
        }
        line.chop(1);
        const auto request = RemoteMessage::parse(line);
        if (!request)
            qCWarning(lcRemote) << "A malformed message to the program's socket was ignored";
        answer(socket,
               request && m_handler(*request) ? RemoteMessage::kAccepted : RemoteMessage::kRefused);
    }
}

void InstanceServer::drop(QLocalSocket* socket)
{
    socket->abort();
    socket->deleteLater();
}

void InstanceServer::answer(QLocalSocket* socket, const char* reply)
{
    socket->write(reply);
    socket->write("\n");
    socket->flush();
}
