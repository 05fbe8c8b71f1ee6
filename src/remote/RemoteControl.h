#pragma once

#include "remote/RemoteCommand.h"
#include "remote/RemoteMessage.h"

#include <QObject>
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
    // came before it, and once. Returns false for a command the program does not know.
    bool take(const RemoteMessage::Request& request);

    MprisService* mpris() const { return m_mpris.get(); }

private:
    void open(const QString& path);
    void logCommandRun(const char* name) const;

    RemoteTargets m_targets;
    std::unique_ptr<InstanceServer> m_server;
    std::unique_ptr<MprisService> m_mpris;
};
