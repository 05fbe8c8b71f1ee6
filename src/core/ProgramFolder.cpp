#include "core/ProgramFolder.h"

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
    fillMissing(installedDefaults, userDataFolder);
    return userDataFolder;
}

bool fillMissing(const QString& from, const QString& to)
{
    bool ok = true;
    const QDir source(from);
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(file);
        if (QFileInfo::exists(target))
            continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(file, target))
            ok = false;
        else
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return ok;
}

} // namespace ProgramFolder
