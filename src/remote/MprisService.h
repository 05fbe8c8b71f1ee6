#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QVariantMap>
#include <optional>

class MprisPlayerAdaptor;
class PlayerCommands;

// The player on the session bus as an MPRIS 2 media player, so that the desktop's media keys, its
// panel and tools like playerctl drive it. Changes are announced once the command that made them
// has finished: PropertiesChanged for the values that changed, Seeked when the position moved.
// It holds the context of each call, for the adaptors' error answers.
class MprisService : public QObject, public QDBusContext {
    Q_OBJECT
public:
    static constexpr char kServiceName[] = "org.mpris.MediaPlayer2.vocarta";
    static constexpr char kObjectPath[] = "/org/mpris/MediaPlayer2";
    static constexpr char kPlayerInterface[] = "org.mpris.MediaPlayer2.Player";

    explicit MprisService(PlayerCommands* player, QObject* parent = nullptr);
    ~MprisService() override;

    // Without a session bus, or with the names taken, the program runs on without it (logged).
    bool registerOnSessionBus();
    bool registerOn(const QDBusConnection& connection);
    // The bus name held; a second program on the same bus gets one with its process number.
    QString serviceName() const { return m_serviceName; }

    // Sends what changed since the last announcement; normally run from the event loop.
    void announceChanges();

private:
    void scheduleAnnouncement();

    PlayerCommands* m_player;
    MprisPlayerAdaptor* m_playerAdaptor;
    std::optional<QDBusConnection> m_connection;
    QString m_serviceName;
    QVariantMap m_announced;
    bool m_positionMoved = false;
    bool m_scheduled = false;
};
