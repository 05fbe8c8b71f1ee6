#include "platform/ModuleFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

QString ModuleFile::find(const QStringList& folders, const QString& fileName)
{
    for (const QString& folder : folders) {
        const QString candidate = QDir(folder).filePath(fileName);
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return {};
}

QString ModuleFile::notFoundReason(const QStringList& folders, const QString& fileName)
{
    return QStringLiteral("%1 is in none of %2").arg(fileName, folders.join(QStringLiteral(", ")));
}

QFunctionPointer ModuleFile::loadFactory(QLibrary& library, const QString& path,
                                         const char* factoryName, QString* error)
{
    library.setFileName(path);
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint | QLibrary::PreventUnloadHint);
    if (!library.load()) {
        if (error)
            *error = library.errorString();
        return nullptr;
    }
    const QFunctionPointer factory = library.resolve(factoryName);
    if (!factory && error)
        *error = QStringLiteral("%1 has no %2").arg(path, QLatin1String(factoryName));
    return factory;
}
