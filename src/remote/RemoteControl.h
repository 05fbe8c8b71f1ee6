#pragma once

#include "remote/RemoteCommand.h"
#include "remote/RemoteMessage.h"

#include <QObject>
#include <QQueue>
#include <QTimer>
#include <functional>
#include <memory>

class InstanceServer;
class MprisService;

// The running program as other processes of the user reach it: its socket, which takes the
// commands of `vocarta --command` and the files of `vocarta FILE`, and the desktop's media
// controls on the session bus.
class RemoteControl : public QObject {
    Q_OBJECT
public:
    explicit RemoteControl(const RemoteTargets& targets, QObject* parent = nullptr);
    ~RemoteControl() override;

    // Opens the socket at `socketPath` and offers the media controls on the session bus, when
    // there is one. What fails is logged; the program runs on without it.
    void start(const QString& socketPath);

    // Takes one request from the socket: it runs from the event loop, after every request that
    // came before it, and once. While a dialog or box is open, it waits for it to close: a
    // request never runs inside another's box. Returns false for a command the program does not
    // know, and when kMaxWaitingRequests wait already.
    bool take(const RemoteMessage::Request& request);

    // A script that keeps sending while a box is open must not pile up boxes without end; more
    // than a user would click through, one by one, once the box is gone.
    static constexpr int kMaxWaitingRequests = 32;
    // How often it looks again whether a dialog it did not open has closed.
    static constexpr int kModalPollMs = 100;

    MprisService* mpris() const { return m_mpris.get(); }

private:
    // Queues `request` and lets the event loop run it.
    bool enqueue(std::function<void()> request);
    // Runs the next waiting request, unless one runs already (its box is open) or a dialog is.
    void runNext();
    void open(const QString& path);
    void logCommandRun(const char* name) const;

    RemoteTargets m_targets;
    std::unique_ptr<InstanceServer> m_server;
    std::unique_ptr<MprisService> m_mpris;
    QQueue<std::function<void()>> m_waiting;
    QTimer m_modalWait;
    bool m_runScheduled = false;
    bool m_running = false;
};
