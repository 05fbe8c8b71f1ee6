#include "platform/QtDesktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

QtDesktop::QtDesktop(QString lockFolder) : m_lockFolder(std::move(lockFolder)) {}

QtDesktop::~QtDesktop() = default;

namespace {

// xdg-mime answers from the desktop's own settings (GNOME, KDE, ...) or the shared MIME
// application lists; it is what xdg-open, and so QDesktopServices, follows.
std::optional<QString> queryDefaultProgram(const QString& type)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return std::nullopt;
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit) {
        query.kill();
        query.waitForFinished(1000);
        return std::nullopt;
    }
    return QString::fromLocal8Bit(query.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
}

bool isWebBrowserEntry(const QString& desktopEntry)
{
    QFile entry(QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopEntry));
    if (!entry.open(QIODevice::ReadOnly))
        return false;
    while (!entry.atEnd()) {
        const QByteArray line = entry.readLine().trimmed();
        if (line.startsWith("Categories="))
            return line.mid(11).split(';').contains("WebBrowser");
    }
    return false;
}

} // namespace

bool QtDesktop::wouldShow(const QUrl& url, bool inBrowser, const DefaultProgram& defaultProgram,
                          const IsWebBrowser& isWebBrowser)
{
    if (!url.isLocalFile()) {
        const auto program = defaultProgram(QStringLiteral("x-scheme-handler/") + url.scheme());
        return !program || !program->isEmpty();
    }
    const QString type = QMimeDatabase().mimeTypeForFile(url.toLocalFile()).name();
    const auto program = defaultProgram(type);
    if (!program || program->isEmpty())
        return !program;
    if (!inBrowser)
        return true;
    // The program for web addresses is a browser by what it is chosen for.
    const auto webBrowser = defaultProgram(QStringLiteral("x-scheme-handler/https"));
    return *program == webBrowser.value_or(QString()) || isWebBrowser(*program);
}

bool QtDesktop::open(const QUrl& url, bool inBrowser)
{
    // QDesktopServices counts starting xdg-open as success, even when it then finds nothing.
    return wouldShow(url, inBrowser, queryDefaultProgram, isWebBrowserEntry) &&
           QDesktopServices::openUrl(url);
}

bool QtDesktop::openUrl(const QUrl& url)
{
    return open(url, false);
}

bool QtDesktop::openInBrowser(const QUrl& url)
{
    return open(url, true);
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
