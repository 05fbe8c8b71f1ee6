#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The 23 lines of the settings file "Files/Vocarta.ini", as read and as written.
// Window coordinates and sizes are twips.
struct StoredSettings {
    QString languageFile;          // 1
    std::optional<int> volume;     // 2: the volume slider's value; none when the line is missing
    std::optional<double> knobTop; // 3
    int jumpSeconds = 0;           // 4: 0 when never set
    int backSeconds = 0;           // 5
    bool showFullPath = true;      // 6
    QString editorFolder;          // 7
    bool editorVisible = true;     // 8: written "0" when visible
    int playerLeft = 0;            // 9
    int playerTop = 0;             // 10
    int editorLeft = 0;            // 11
    int editorTop = 0;             // 12
    int editorWidth = 0;           // 13
    int editorHeight = 0;          // 14
    bool alwaysOnTop = true;       // 15: written "0" when on
    bool bookmarksVisible = false; // 16: written "0" when visible
    int bookmarksLeft = 0;         // 17
    int bookmarksTop = 0;          // 18
    int bookmarksWidth = 0;        // 19
    int bookmarksHeight = 0;       // 20
    int playTime = 7;              // 21
    int pauseTime = 7;             // 22
    bool smartPlay = false;        // 23
};

namespace SettingsFile {

constexpr int kLineCount = 23;

// One line as a value: leading blanks skipped, enclosing double quotes removed.
QString lineValue(const QString& line);

// A 16-bit whole number (the nearest, halves to the even neighbour); none for a text that is
// not a number or a number beyond -32768..32767.
std::optional<int> toInt16(const QString& value);

// Values beyond the ranges of SettingLimits are brought into them, as the value dialog would:
// a skip length other than 0 (never set) into 2..60, seconds back into 0..20, and play or pause
// times below 3 read as 7.
StoredSettings parse(const QStringList& lines);
QStringList lines(const StoredSettings& settings);

// Reads the first value only (the language file name); none when the file cannot be read or
// is empty, with the reason in error.
[[nodiscard]] std::optional<QString> readLanguageFile(const QString& path, QString* error);

// A file that cannot be read or written gives none or false, with the reason in error.
[[nodiscard]] std::optional<StoredSettings> read(const QString& path, QString* error = nullptr);
[[nodiscard]] bool write(const QString& path, const StoredSettings& settings,
                         QString* error = nullptr);

} // namespace SettingsFile
