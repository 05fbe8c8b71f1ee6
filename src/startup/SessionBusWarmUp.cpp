#include "startup/SessionBusWarmUp.h"

#include <QDBusConnection>

SessionBusWarmUp::SessionBusWarmUp()
    : WarmUpThread([] { QDBusConnection::sessionBus().isConnected(); })
{
}
