#include "remote/MprisRootAdaptor.h"

#include "core/MediaFormats.h"
#include "core/PlayerCommands.h"
#include "core/ProductName.h"

MprisRootAdaptor::MprisRootAdaptor(PlayerCommands* player, QObject* service)
    : QDBusAbstractAdaptor(service), m_player(player)
{
}

QString MprisRootAdaptor::identity() const
{
    return productTitle();
}

QString MprisRootAdaptor::desktopEntry() const
{
    return desktopEntryName();
}

QStringList MprisRootAdaptor::supportedUriSchemes() const
{
    return {QStringLiteral("file")};
}

QStringList MprisRootAdaptor::supportedMimeTypes() const
{
    return MediaFormats::mimeTypes();
}

void MprisRootAdaptor::Raise()
{
    m_player->bringToFront();
}

void MprisRootAdaptor::Quit()
{
    // After the answer: the question about the transcript must not keep the caller waiting.
    QMetaObject::invokeMethod(
        this, [player = m_player] { player->runCommand(PlayerCommand::Exit); },
        Qt::QueuedConnection);
}
