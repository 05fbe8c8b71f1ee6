#include "core/ProgramFolder.h"

#include "core/Logging.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace ProgramFolder {

QString locate(const QString& executableFolder, const QString& userDataFolder,
               const QString& installedDefaults)
{
    if (QFileInfo::exists(executableFolder + QStringLiteral("/Files/Vocarta.ini")))
        return executableFolder;
    QDir().mkpath(userDataFolder);
    QString error;
    if (!fillMissing(installedDefaults, userDataFolder, &error))
        qCWarning(lcSettings).noquote() << "Default files not copied:" << error;
    return userDataFolder;
}

bool fillMissing(const QString& from, const QString& to, QString* error)
{
    QStringList failures;
    const QDir source(from);
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(file);
        if (QFileInfo::exists(target))
            continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile original(file);
        if (!original.copy(target))
            failures << target + QStringLiteral(": ") + original.errorString();
        else
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    if (error)
        *error = failures.join(QStringLiteral("; "));
    return failures.isEmpty();
}

} // namespace ProgramFolder
