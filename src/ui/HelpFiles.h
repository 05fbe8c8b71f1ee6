#pragma once

#include <QString>

// The local pages the help menu opens.
namespace HelpFiles {

// "it" for Italiano.lng, "ru" for Russian.lng (in any case), "en" for every other language file.
QString languageCode(const QString& languageFile);

// The help page of the language file's code: Files/Help-<code>.html in the program folder.
QString helpPage(const QString& programFolder, const QString& languageFile);

// The program's version history: Versioni.txt in the program folder.
QString versionHistory(const QString& programFolder);

} // namespace HelpFiles
