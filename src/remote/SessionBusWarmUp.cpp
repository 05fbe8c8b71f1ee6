#include "remote/SessionBusWarmUp.h"

#include <QDBusConnection>

SessionBusWarmUp::SessionBusWarmUp() : m_worker([] { QDBusConnection::sessionBus().isConnected(); })
{
}

SessionBusWarmUp::~SessionBusWarmUp()
{
    m_worker.join();
}
