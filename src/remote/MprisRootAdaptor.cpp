#include "remote/MprisRootAdaptor.h"

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
    // As the desktop entry offers them.
    return {QStringLiteral("video/x-msvideo"), QStringLiteral("audio/mpeg"),
            QStringLiteral("video/mpeg"),      QStringLiteral("audio/ogg"),
            QStringLiteral("video/ogg"),       QStringLiteral("audio/x-wav"),
            QStringLiteral("audio/wav"),       QStringLiteral("audio/x-ms-wma"),
            QStringLiteral("video/x-ms-wmv"),  QStringLiteral("video/mp2t"),
            QStringLiteral("video/x-ms-vob"),  QStringLiteral("video/x-flv")};
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
