#pragma once

#include <QString>

// Qt's own texts (the standard buttons, the file, colour and print dialogs) in the interface's
// language, from the translations Qt installs (Debian's qt6-translations-l10n).
namespace QtTranslation {

// Puts Qt's translation for the locale ("ru", "pt_BR") in place of the one used before. "" or a
// locale Qt has no translation for leaves Qt's texts in English. Returns "" on success (also
// then), otherwise why the translation in Qt's translations folder could not be read.
QString use(const QString& localeName);

// The locale of the translation in use; "" for none.
QString localeInUse();

// Every window shows the interface's texts anew: each top-level widget, and through it each of
// its children, gets a LanguageChange event before this returns.
void announceLanguageChange();

} // namespace QtTranslation
