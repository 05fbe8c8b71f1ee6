#pragma once

#include "core/AppState.h"

#include <QDir>
#include <QString>

namespace Bench {

// The program's state on an empty program folder at `folder`, in English.
inline void prepareState(AppState& state, const QString& folder)
{
    state.programFolder = folder;
    QDir(folder).mkpath(QStringLiteral("Files"));
    state.languageFile = QStringLiteral("English.lng");
}

} // namespace Bench
