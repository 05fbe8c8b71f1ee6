#include "remote/MprisRootAdaptor.h"

#include "core/MediaFormats.h"
#include "core/PlayerCommands.h"
#include "remote/FrontWindow.h"

#include <QWidget>

MprisRootAdaptor::MprisRootAdaptor(PlayerCommands* player, QObject* service)
    : QDBusAbstractAdaptor(service), m_player(player)
{
}

QString MprisRootAdaptor::identity() const
{
    return QStringLiteral("Vocarta");
}

QString MprisRootAdaptor::desktopEntry() const
{
    return QStringLiteral("vocarta");
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
    bringToFront(m_player->playerWindow());
}

void MprisRootAdaptor::Quit()
{
    // After the answer: the question about the transcript must not keep the caller waiting.
    QWidget* window = m_player->playerWindow();
    QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
}
