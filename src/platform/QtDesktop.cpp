#include "platform/QtDesktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QtDesktop::QtDesktop(QString lockFolder) : m_lockFolder(std::move(lockFolder)) {}

QtDesktop::~QtDesktop() = default;

bool QtDesktop::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

QStringList QtDesktop::soundSettingsCommand(const QString& configured,
                                            const std::function<QString(const QString&)>& find)
{
    QList<QStringList> candidates = {
        {QStringLiteral("pavucontrol")},
        {QStringLiteral("pavucontrol-qt")},
        {QStringLiteral("gnome-control-center"), QStringLiteral("sound")},
        {QStringLiteral("systemsettings"), QStringLiteral("kcm_pulseaudio")},
        {QStringLiteral("xfce4-mixer")},
    };
    const QStringList own = QProcess::splitCommand(configured);
    if (!own.isEmpty())
        candidates.prepend(own);
    for (QStringList command : candidates) {
        const QString program = find(command.first());
        if (program.isEmpty())
            continue;
        command.first() = program;
        return command;
    }
    return {};
}

bool QtDesktop::openSoundSettings()
{
    const QStringList command = soundSettingsCommand(
        qEnvironmentVariable(kSoundSettingsVariable), [](const QString& program) {
            // A path is taken as it stands; a bare name is looked for on PATH.
            if (program.contains(QLatin1Char('/')))
                return QFileInfo(program).isExecutable() ? program : QString();
            return QStandardPaths::findExecutable(program);
        });
    return !command.isEmpty() && QProcess::startDetached(command.first(), command.mid(1));
}

bool QtDesktop::claimSingleInstance()
{
    if (m_lock)
        return true;
    QDir().mkpath(m_lockFolder);
    auto lock = InstanceLock::claim(lockPath(m_lockFolder));
    if (!lock)
        return false;
    m_lock = std::move(lock);
    return true;
}

QString QtDesktop::lockPath(const QString& lockFolder)
{
    return lockFolder + QStringLiteral("/vocarta.lock");
}
