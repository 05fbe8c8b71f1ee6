#include "platform/QtDesktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>

QtDesktop::QtDesktop(QString lockFolder) : m_lockFolder(std::move(lockFolder)) {}

QtDesktop::~QtDesktop() = default;

bool QtDesktop::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool QtDesktop::openSoundSettings()
{
    // The first sound settings program this desktop has.
    const QList<QStringList> candidates = {
        {QStringLiteral("pavucontrol")},
        {QStringLiteral("gnome-control-center"), QStringLiteral("sound")},
        {QStringLiteral("systemsettings"), QStringLiteral("kcm_pulseaudio")},
        {QStringLiteral("xfce4-mixer")},
    };
    for (const QStringList& command : candidates) {
        if (QStandardPaths::findExecutable(command.first()).isEmpty())
            continue;
        if (QProcess::startDetached(command.first(), command.mid(1)))
            return true;
    }
    return false;
}

bool QtDesktop::claimSingleInstance()
{
    if (m_lock)
        return true;
    QDir().mkpath(m_lockFolder);
    auto lock = std::make_unique<QLockFile>(lockPath(m_lockFolder));
    // A lock left by a crashed instance is taken over: QLockFile checks whether its owner lives.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    m_lock = std::move(lock);
    return true;
}

QString QtDesktop::lockPath(const QString& lockFolder)
{
    return lockFolder + QStringLiteral("/vocarta.lock");
}
