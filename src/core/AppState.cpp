#include "core/AppState.h"

QString AppState::path(const QString& relative) const
{
    return programFolder + QLatin1Char('/') + relative;
}

QString AppState::languagePath() const
{
    if (!isPlainLanguageFileName(languageFile))
        return {};
    return path(QStringLiteral("Files/Lang/") + languageFile);
}
