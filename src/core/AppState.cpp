#include "core/AppState.h"

QString AppState::path(const QString& relative) const
{
    return programFolder + QLatin1Char('/') + relative;
}
