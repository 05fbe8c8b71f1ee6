#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>

// The dictionaries the program offers: Hunspell's, as Debian installs them.
namespace SpellingLanguages {

struct Language {
    // Hunspell's name for the dictionary files: "en_US" for en_US.aff and en_US.dic.
    const char* code;
    // The Debian package that installs it.
    const char* package;
};

std::span<const Language> all();
std::optional<Language> find(const QString& code);

// Where Debian puts the dictionaries.
QStringList systemFolders();

struct Files {
    QString affix;
    QString words;
};
// The dictionary's two files in the first folder that holds both; none when it is not installed.
std::optional<Files> filesOf(const QString& code, const QStringList& folders);
// The offered dictionaries whose files are there, in the table's order.
QStringList installed(const QStringList& folders);

// The dictionary for the interface's language file ("Italiano.lng" gives it_IT); English takes
// British or American spelling after the desktop's locale.
QString forLanguageFile(const QString& languageFile, const QLocale& desktop);

// The language's own name, as a menu shows it: "Italiano", "British English", "Português (Brasil)".
QString displayName(const QString& code);

} // namespace SpellingLanguages
