#include "remote/MprisService.h"

#include "core/PlayerCommands.h"
#include "core/PlayerEvents.h"
#include "remote/MprisPlayerAdaptor.h"
#include "remote/MprisRootAdaptor.h"
#include "remote/RemoteLogging.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

MprisService::MprisService(PlayerCommands* player, QObject* parent)
    : QObject(parent), m_player(player), m_playerAdaptor(new MprisPlayerAdaptor(player, this))
{
    new MprisRootAdaptor(player, this);
}

MprisService::~MprisService()
{
    if (m_connection) {
        m_connection->unregisterService(m_serviceName);
        m_connection->unregisterObject(QLatin1String(kObjectPath));
    }
}

bool MprisService::registerOnSessionBus()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCInfo(lcRemote).noquote() << "No session bus: the desktop's media controls cannot reach "
                                      "the player:"
                                   << bus.lastError().message();
        return false;
    }
    return registerOn(bus);
}

bool MprisService::registerOn(const QDBusConnection& connection)
{
    QDBusConnection bus = connection;
    if (!bus.registerObject(QLatin1String(kObjectPath), this, QDBusConnection::ExportAdaptors)) {
        qCWarning(lcRemote).noquote() << "The media controls' object is taken:" << kObjectPath;
        return false;
    }
    // MPRIS gives a second instance of a player a name of its own.
    const QString name = QLatin1String(kServiceName);
    const QString instanceName =
        name + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
    for (const QString& candidate : {name, instanceName}) {
        if (bus.registerService(candidate)) {
            m_serviceName = candidate;
            break;
        }
    }
    if (m_serviceName.isEmpty()) {
        qCWarning(lcRemote).noquote() << "The media controls' bus name is taken:" << name;
        bus.unregisterObject(QLatin1String(kObjectPath));
        return false;
    }
    m_connection = bus;
    m_announced = m_playerAdaptor->announcedProperties();
    if (PlayerEvents* events = m_player->events()) {
        for (auto signal :
             {&PlayerEvents::playStateChanged, &PlayerEvents::mediaChanged,
              &PlayerEvents::rateChanged, &PlayerEvents::volumeChanged, &PlayerEvents::loopChanged})
            connect(events, signal, this, &MprisService::scheduleAnnouncement);
        connect(events, &PlayerEvents::positionMoved, this, [this] {
            m_positionMoved = true;
            scheduleAnnouncement();
        });
    }
    qCDebug(lcRemote).noquote() << "On the session bus as" << m_serviceName;
    return true;
}

void MprisService::scheduleAnnouncement()
{
    if (m_scheduled)
        return;
    m_scheduled = true;
    QMetaObject::invokeMethod(this, &MprisService::announceChanges, Qt::QueuedConnection);
}

void MprisService::announceChanges()
{
    m_scheduled = false;
    if (!m_connection)
        return;
    const QVariantMap now = m_playerAdaptor->announcedProperties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_announced.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    m_announced = now;
    if (!changed.isEmpty()) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QLatin1String(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("PropertiesChanged"));
        signal << QLatin1String(kPlayerInterface) << changed << QStringList();
        m_connection->send(signal);
    }
    if (std::exchange(m_positionMoved, false))
        Q_EMIT m_playerAdaptor->Seeked(m_playerAdaptor->position());
}
