#pragma once

#include <QString>

namespace ProgramFolder {

// The folder all data lives below: the executable's own folder when it holds
// "Files/Vocarta.ini" (a portable copy, or the build tree); otherwise the user's data folder,
// which is filled from the installed defaults without overwriting any file the user has.
QString locate(const QString& executableFolder, const QString& userDataFolder,
               const QString& installedDefaults);

// Copies every file of `from` that `to` does not have yet. Returns false when a copy failed, with
// each failed file and its reason in error.
[[nodiscard]] bool fillMissing(const QString& from, const QString& to, QString* error = nullptr);

} // namespace ProgramFolder
