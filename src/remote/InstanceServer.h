#pragma once

#include "remote/RemoteMessage.h"

#include <QLocalServer>
#include <QObject>
#include <functional>

class QLocalSocket;

// The running program's end of its socket: takes the requests of the user's other processes,
// line by line, in the order they come, and answers each. It never waits on a client: a line
// that is not a request is refused, an overlong one or a silent client loses its connection.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    // Returns whether the request was taken.
    using Handler = std::function<bool(const RemoteMessage::Request&)>;

    explicit InstanceServer(Handler handler, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Listens at `socketPath`, readable and writable by this user alone. A socket left there by
    // an instance that crashed is replaced: whoever calls this holds the single-instance claim.
    bool listen(const QString& socketPath, QString* error = nullptr);
    QString socketPath() const;

    static constexpr int kMaxConnections = 16;
    static constexpr int kIdleMs = 5000;

private:
    void acceptConnections();
    void readRequests(QLocalSocket* socket);
    void answer(QLocalSocket* socket, const char* reply);
    void drop(QLocalSocket* socket);

    Handler m_handler;
    QLocalServer m_server;
    int m_connections = 0;
};
