#pragma once

#include "remote/InstanceConnection.h"
#include "remote/LocalSocket.h"
#include "remote/RemoteMessage.h"

#include <QList>
#include <QObject>
#include <chrono>
#include <sys/types.h>

class QSocketNotifier;

// The running program's end of its socket: takes the requests of the user's other processes,
// line by line, in the order they come, and answers each. It never waits on a client: a line
// that is not a request is refused, an overlong one or a silent client loses its connection.
// When every place is taken, new clients wait in the socket's backlog, and the client silent
// longest makes room for them once it has been silent a while: slow or stuck clients never lock
// a command out.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    using Handler = InstanceConnection::Handler;

    explicit InstanceServer(Handler handler, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Listens at `socketPath`, readable and writable by this user alone. A socket left there by
    // an instance that crashed is replaced: whoever calls this holds the single-instance claim.
    // Anything else there is left alone, and so is a path too long for a socket's address.
    [[nodiscard]] bool listen(const QString& socketPath, QString* error = nullptr);
    // Drops every connection and stops listening. The socket file goes, unless another has
    // taken its place since.
    void close();
    // Where it listens; empty when it does not.
    QString socketPath() const { return m_path; }

    // How long a client may stay silent before it loses its connection.
    void setIdleTimeout(std::chrono::milliseconds timeout) { m_idleTimeout = timeout; }

    static constexpr int kMaxConnections = 16;
    static constexpr int kIdleMs = 5000;
    // A client of this program writes its request at once and has its answer within
    // milliseconds; one silent this long while every place is taken is slow or stuck.
    static constexpr std::chrono::milliseconds kSilenceBeforeDropped{250};

private:
    void acceptConnections();
    // Too many descriptors open: the waiting connections are taken again a little later rather
    // than in a busy loop.
    void pauseAccepting();
    // Closes the connection silent longest, when it has been silent for kSilenceBeforeDropped.
    bool dropLongestSilent();

    Handler m_handler;
    LocalSocket::Descriptor m_socket;
    QSocketNotifier* m_notifier = nullptr;
    QString m_path;
    // The socket file this server made, to know it again.
    dev_t m_device = 0;
    ino_t m_inode = 0;
    QList<InstanceConnection*> m_connections;
    std::chrono::milliseconds m_idleTimeout{kIdleMs};
};
