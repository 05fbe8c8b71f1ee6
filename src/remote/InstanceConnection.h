#pragma once

#include "remote/LocalSocket.h"
#include "remote/RemoteMessage.h"

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <functional>

// One client of the running program's socket: its bytes cut into lines, each line handed to the
// handler and answered in order. Nothing here waits on the client: the socket is non-blocking,
// answers it does not read pile up only so far before its requests are no longer read, and a
// client silent for the idle time loses its connection.
class InstanceConnection : public QObject {
    Q_OBJECT
public:
    // Returns whether the request was taken.
    using Handler = std::function<bool(const RemoteMessage::Request&)>;

    // `handler` must outlive the connection.
    InstanceConnection(LocalSocket::Descriptor socket, const Handler& handler,
                       std::chrono::milliseconds idleTimeout, QObject* parent = nullptr);
    ~InstanceConnection() override;

    // Closes the connection at once, answered or not.
    void close();
    bool isOpen() const { return m_socket.isValid(); }
    // When the client last sent something, or connected.
    std::chrono::steady_clock::time_point lastHeard() const { return m_lastHeard; }

    // Answers waiting beyond this stop the reading of requests until the client takes them.
    static constexpr qsizetype kAnswerBacklogBytes = 4096;

Q_SIGNALS:
    // The connection is closed; it hears nothing more.
    void closed();

private:
    void readRequests();
    // Hands every whole line waiting to the handler while the answers are not backlogged. False
    // when the connection was dropped for an overlong line.
    bool takeRequests();
    void writeAnswers();
    // Takes, writes and reads as far as the client lets it, then closes once the client has
    // ended its side and has its answers.
    void carryOn();
    bool isBacklogged() const { return m_output.size() >= kAnswerBacklogBytes; }

    LocalSocket::Descriptor m_socket;
    const Handler& m_handler;
    QSocketNotifier m_readable;
    QSocketNotifier m_writable;
    QTimer m_idle;
    QByteArray m_input;
    QByteArray m_output;
    std::chrono::steady_clock::time_point m_lastHeard = std::chrono::steady_clock::now();
    bool m_inputEnded = false;
    bool m_outputFailed = false;
};
