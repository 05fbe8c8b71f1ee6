#include "ui/HelpFiles.h"

namespace HelpFiles {

QString languageCode(const QString& languageFile)
{
    const QString name = languageFile.toLower();
    if (name == QLatin1String("italiano.lng"))
        return QStringLiteral("it");
    if (name == QLatin1String("russian.lng"))
        return QStringLiteral("ru");
    return QStringLiteral("en");
}

QString helpPage(const QString& programFolder, const QString& languageFile)
{
    return programFolder + QStringLiteral("/Files/Help-") + languageCode(languageFile) +
           QStringLiteral(".html");
}

QString versionHistory(const QString& programFolder)
{
    return programFolder + QStringLiteral("/Versioni.txt");
}

} // namespace HelpFiles
