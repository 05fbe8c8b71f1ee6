#pragma once

#include "core/Text.h"

#include <QLocale>
#include <QString>
#include <array>
#include <optional>

// The interface text table: every caption, tooltip, title and message by number, filled from a
// language file. Line k of the file feeds entry k; its first three characters are a label.
// No entry is left empty where the built-in English texts (data/Files/Lang/English.lng, compiled
// into the program) have a text: an empty line, or an entry no file has given yet, reads English.
class InterfaceTexts {
public:
    static constexpr int kCount = 280;
    static constexpr int kLabelLength = 3;

    QString text(Text id) const { return entry(static_cast<int>(id)); }
    // Without "&" accelerator marks, for message boxes and titles.
    QString plain(Text id) const;
    void setText(Text id, const QString& text) { setEntry(static_cast<int>(id), text); }

    // Entry n by its number in the language file, or "" for a number outside the table.
    QString entry(int n) const;
    void setEntry(int n, const QString& text);

    // Entry n of the built-in English texts, or "" for a number outside the table.
    static QString builtInEntry(int n);

    // Start-up reading: any fault (a file that cannot be read, an empty file, a line that is not
    // UTF-8, shorter than two characters or of an overlong entry, more lines than entries) fails
    // the whole reading and leaves the table as it was. Otherwise every entry takes its line, and
    // entries beyond the file's last line the built-in English text. Returns "" on success,
    // otherwise the error's description.
    QString loadStrict(const QString& path);

    // Whether the start-up reading would take the file: "" when it would, otherwise the reason.
    static QString checkFile(const QString& path);

    // Reading after start-up: a file that cannot be read leaves the table as it was, a line
    // shorter than two characters leaves its entry unchanged, lines beyond the table are ignored.
    // Entries beyond the file's last line keep their text (a shorter file over a longer one
    // leaves the longer one's last texts in place).
    bool load(const QString& path);

    // Whether the table is the file at `path` as last read, untouched since.
    bool holdsFile(const QString& path) const { return !path.isEmpty() && path == m_readFrom; }

private:
    std::array<QString, kCount> m_texts;
    QString m_readFrom;
};

// The text without any "&".
QString StripAmpersands(const QString& text);

// The name of the language file a user gets when the settings name none, from the locale's
// language (and country, for Brazil): "Italiano.lng", "English.lng", ...
QString defaultLanguageFile(const QLocale& locale);

// The name of the Qt locale whose translation of Qt's own texts goes with a language file that
// comes with the program ("ru" for Russian.lng, "pt_BR" for Brazilian.lng, in any letter case);
// "" for any other file.
QString qtLocaleName(const QString& languageFile);

// Qt's own texts in the language of the file, where Qt has a translation for it; a translation
// that cannot be read is logged and leaves them English.
void translateQtTexts(const QString& languageFile);

// Whether a language file name from the settings names a file directly inside Files/Lang/: not
// empty, no "/" or backslash, not "." or "..". Any other name is refused, so that it cannot lead
// the program to read a file elsewhere.
bool isPlainLanguageFileName(const QString& name);

// The language file name a file chosen in the language dialog gives: its name when it lies
// directly in languageFolder (Files/Lang/), otherwise none. A file from anywhere else would be
// looked for in Files/Lang/ under its name at the next start, and might not be there.
std::optional<QString> languageFileOf(const QString& chosenPath, const QString& languageFolder);
