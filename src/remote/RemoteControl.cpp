#include "remote/RemoteControl.h"

#include "core/PlayerCommands.h"
#include "remote/FrontWindow.h"
#include "remote/InstanceServer.h"
#include "remote/MprisService.h"
#include "remote/RemoteLogging.h"

RemoteControl::RemoteControl(const RemoteTargets& targets, QObject* parent)
    : QObject(parent), m_targets(targets)
{
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
    // Queued: a command may open a dialog, and the socket's handler must not wait for it. Posted
    // calls run in the order they were posted.
    switch (request.kind) {
    case RemoteMessage::Request::Kind::Command: {
        const RemoteCommand* command = findRemoteCommand(request.argument);
        if (!command)
            return false;
        QMetaObject::invokeMethod(
            this,
            [this, command] {
                command->run(m_targets);
                logCommandRun(command->name);
            },
            Qt::QueuedConnection);
        return true;
    }
    case RemoteMessage::Request::Kind::Open:
        QMetaObject::invokeMethod(
            this, [this, path = request.argument] { open(path); }, Qt::QueuedConnection);
        return true;
    }
    return false;
}

void RemoteControl::logCommandRun(const char* name) const
{
    if (!lcRemote().isDebugEnabled() || !m_targets.player)
        return;
    // The command benchmark reads the state that follows.
    const char* state = "stopped";
    switch (m_targets.player->transportState()) {
    case PlayerCommands::TransportState::Playing:
        state = "playing";
        break;
    case PlayerCommands::TransportState::Paused:
        state = "paused";
        break;
    case PlayerCommands::TransportState::Stopped:
        break;
    }
    qCDebug(lcRemote).nospace() << "Ran the command " << name << ": " << state;
}

void RemoteControl::open(const QString& path)
{
    if (!m_targets.player)
        return;
    bringToFront(m_targets.player->playerWindow());
    m_targets.player->openMedia(path);
    qCDebug(lcRemote).noquote() << "Opened a file handed over:" << path;
}
