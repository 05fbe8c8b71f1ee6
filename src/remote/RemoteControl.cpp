#include "remote/RemoteControl.h"

#include "core/PlayerCommands.h"
#include "remote/InstanceServer.h"
#include "remote/MprisService.h"
#include "remote/RemoteLogging.h"

#include <QApplication>

RemoteControl::RemoteControl(const RemoteTargets& targets, QObject* parent)
    : QObject(parent), m_targets(targets)
{
    m_modalWait.setSingleShot(true);
    m_modalWait.setInterval(kModalPollMs);
    connect(&m_modalWait, &QTimer::timeout, this, &RemoteControl::runNext);
}

RemoteControl::~RemoteControl() = default;

void RemoteControl::start(const QString& socketPath)
{
    m_server = std::make_unique<InstanceServer>(
        [this](const RemoteMessage::Request& request) { return take(request); });
    QString error;
    if (m_server->listen(socketPath, &error))
        qCDebug(lcRemote).noquote() << "Listening at" << socketPath;
    else
        qCWarning(lcRemote).noquote()
            << "Commands and files from other processes cannot reach this program:" << error;

    if (m_targets.player) {
        m_mpris = std::make_unique<MprisService>(m_targets.player);
        m_mpris->registerOnSessionBus();
    }
}

bool RemoteControl::take(const RemoteMessage::Request& request)
{
    switch (request.kind) {
    case RemoteMessage::Request::Kind::Command: {
        const RemoteCommand* command = findRemoteCommand(request.argument);
        if (!command)
            return false;
        return enqueue([this, command] {
            command->run(m_targets);
            logCommandRun(command->name);
        });
    }
    case RemoteMessage::Request::Kind::Open:
        return enqueue([this, path = request.argument] { open(path); });
    }
    return false;
}

bool RemoteControl::enqueue(std::function<void()> request)
{
    if (m_waiting.size() >= kMaxWaitingRequests) {
        qCWarning(lcRemote) << "A request to the program was refused:" << m_waiting.size()
                            << "requests already wait for an open dialog to close";
        return false;
    }
    m_waiting.enqueue(std::move(request));
    // Posted, never run here: a request may open a box, and the socket's answer must not wait.
    if (!m_runScheduled) {
        m_runScheduled = true;
        QMetaObject::invokeMethod(this, &RemoteControl::runNext, Qt::QueuedConnection);
    }
    return true;
}

void RemoteControl::runNext()
{
    m_runScheduled = false;
    // Called from inside the box of the request that runs: that one carries on when it closes.
    if (m_running || m_waiting.isEmpty())
        return;
    if (QApplication::activeModalWidget()) {
        m_modalWait.start();
        return;
    }
    const std::function<void()> request = m_waiting.dequeue();
    m_running = true;
    request();
    m_running = false;
    if (!m_waiting.isEmpty() && !m_runScheduled) {
        m_runScheduled = true;
        QMetaObject::invokeMethod(this, &RemoteControl::runNext, Qt::QueuedConnection);
    }
}

void RemoteControl::logCommandRun(const char* name) const
{
    if (!lcRemote().isDebugEnabled() || !m_targets.player)
        return;
    // The command benchmark reads the state that follows.
    const char* state = "stopped";
    switch (m_targets.player->playState()) {
    case PlayState::Playing:
        state = "playing";
        break;
    case PlayState::Paused:
        state = "paused";
        break;
    case PlayState::Stopped:
        break;
    }
    qCDebug(lcRemote).nospace() << "Ran the command " << name << ": " << state;
}

void RemoteControl::open(const QString& path)
{
    if (!m_targets.player)
        return;
    m_targets.player->bringToFront();
    m_targets.player->openMedia(path);
    qCDebug(lcRemote).noquote() << "Opened a file handed over:" << path;
}
