#pragma once

#include "core/InterfaceTexts.h"
#include "core/ListeningOptions.h"
#include "core/ProductName.h"
#include "core/SaveFailures.h"
#include "core/TimestampOptions.h"

#include <QString>

// What the whole program shares for the whole run: the program folder, the setting variables
// and the interface text table.
struct AppState {
    QString programFolder;

    QString languageFile;
    QString editorFolder;

    // The recording last opened by the open command, even after it was closed: its bookmarks
    // belong to it.
    QString currentMediaPath;
    InterfaceTexts texts;
    // Read by the editor when it is built; any window that writes timestamps uses them.
    TimestampOptions timestamps;
    // Read by the player, which offers them; the editor's keys follow them.
    ListeningOptions listening;
    SaveFailures saveFailures;

    // programFolder + "/" + relative.
    QString path(const QString& relative) const;
    QString settingsPath() const { return path(QStringLiteral("Files/Vocarta.ini")); }
    // The language file inside Files/Lang/, or "" (which no reader can open) when languageFile is
    // not a plain file name.
    QString languagePath() const;
    QString filesPath(const QString& name) const { return path(QStringLiteral("Files/") + name); }
};
