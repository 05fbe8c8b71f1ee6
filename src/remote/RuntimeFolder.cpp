#include "remote/RuntimeFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace RuntimeFolder {

QString path()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

QString socketPath(const QString& folder)
{
    return folder + QStringLiteral("/vocarta.socket");
}

} // namespace RuntimeFolder
