#include "core/SettingsFile.h"

#include "core/NumberText.h"
#include "core/SettingLimits.h"
#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace SettingsFile {

QString lineValue(const QString& line)
{
    qsizetype start = 0;
    while (start < line.size() &&
           (line[start] == QLatin1Char(' ') || line[start] == QLatin1Char('\t')))
        ++start;
    QString value = line.mid(start);
    if (value.startsWith(QLatin1Char('"'))) {
        const qsizetype close = value.indexOf(QLatin1Char('"'), 1);
        return close < 0 ? value.mid(1) : value.mid(1, close - 1);
    }
    while (!value.isEmpty() && value.back().isSpace())
        value.chop(1);
    return value;
}

std::optional<int> toInt16(const QString& value)
{
    bool ok = false;
    const double number = QLocale::c().toDouble(value.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    const double rounded = std::nearbyint(number); // the default mode rounds halves to even
    if (rounded < std::numeric_limits<qint16>::min() ||
        rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<int>(rounded);
}

namespace {

QString formatNumber(double value)
{
    return QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest);
}

QString flag(bool set)
{
    return set ? QStringLiteral("1") : QStringLiteral("0");
}

// "0" for a shown window or an active option, as the file has always stored them.
QString inverseFlag(bool set)
{
    return set ? QStringLiteral("0") : QStringLiteral("1");
}

int cycleSeconds(const std::optional<QString>& value)
{
    if (!value)
        return SettingLimits::kSuggestedCycle;
    const int seconds = toInt16(*value).value_or(0);
    return seconds < SettingLimits::kShortestCycle ? SettingLimits::kSuggestedCycle : seconds;
}

int skipSeconds(int stored)
{
    if (stored == 0)
        return 0;
    return std::clamp(stored, SettingLimits::kShortestSkip, SettingLimits::kLongestSkip);
}

// Whatever number the line starts with; the slider bounds it when it is applied.
int volumeValue(const QString& text)
{
    return static_cast<int>(std::lround(std::clamp(NumberText::leadingNumber(text), -1e9, 1e9)));
}

using Value = std::optional<QString>; // a line's value; none beyond the end of the file
using S = StoredSettings;

int int16Of(const Value& value)
{
    return value ? toInt16(*value).value_or(0) : 0;
}

// One line of the file: how its value is read into the settings and written from them.
struct Line {
    void (*read)(S&, const Value&);
    QString (*write)(const S&);
};

template <int S::*field> constexpr Line whole()
{
    return {[](S& s, const Value& v) { s.*field = int16Of(v); },
            [](const S& s) { return QString::number(s.*field); }};
}

template <QString S::*field> constexpr Line text()
{
    return {[](S& s, const Value& v) { s.*field = v.value_or(QString()); },
            [](const S& s) { return s.*field; }};
}

// A window shown, or an option on, is stored as "0": the file has always had it so.
template <bool S::*field> constexpr Line zeroMeansOn()
{
    return {[](S& s, const Value& v) { s.*field = !v || int16Of(v) == 0; },
            [](const S& s) { return inverseFlag(s.*field); }};
}

template <int S::*field> constexpr Line cycle()
{
    return {[](S& s, const Value& v) { s.*field = cycleSeconds(v); },
            [](const S& s) { return QString::number(s.*field); }};
}

constexpr Line kLines[kLineCount] = {
    text<&S::languageFile>(),
    {[](S& s, const Value& v) {
         if (v)
             s.volume = volumeValue(*v);
     },
     [](const S& s) { return s.volume ? QString::number(*s.volume) : QString(); }},
    {[](S& s, const Value& v) {
         bool ok = false;
         const double top = v ? QLocale::c().toDouble(v->trimmed(), &ok) : 0;
         if (ok && std::isfinite(top))
             s.knobTop = top;
     },
     [](const S& s) { return s.knobTop ? formatNumber(*s.knobTop) : QString(); }},
    {[](S& s, const Value& v) { s.jumpSeconds = skipSeconds(int16Of(v)); },
     [](const S& s) { return QString::number(s.jumpSeconds); }},
    {[](S& s, const Value& v) {
         s.backSeconds = std::clamp(int16Of(v), SettingLimits::kFewestSecondsBack,
                                    SettingLimits::kMostSecondsBack);
     },
     [](const S& s) { return QString::number(s.backSeconds); }},
    {[](S& s, const Value& v) {
         // A text that is not a number leaves the full path shown.
         bool isNumber = false;
         const double number = v ? QLocale::c().toDouble(v->trimmed(), &isNumber) : 0;
         if (isNumber && std::isfinite(number))
             s.showFullPath = std::nearbyint(number) == 1.0;
     },
     [](const S& s) { return flag(s.showFullPath); }},
    text<&S::editorFolder>(),
    zeroMeansOn<&S::editorVisible>(),
    whole<&S::playerLeft>(),
    whole<&S::playerTop>(),
    whole<&S::editorLeft>(),
    whole<&S::editorTop>(),
    whole<&S::editorWidth>(),
    whole<&S::editorHeight>(),
    {[](S& s, const Value& v) { s.alwaysOnTop = !v || v->isEmpty() || *v == QStringLiteral("0"); },
     [](const S& s) { return inverseFlag(s.alwaysOnTop); }},
    {[](S& s, const Value& v) { s.bookmarksVisible = v && int16Of(v) == 0; },
     [](const S& s) { return inverseFlag(s.bookmarksVisible); }},
    whole<&S::bookmarksLeft>(),
    whole<&S::bookmarksTop>(),
    whole<&S::bookmarksWidth>(),
    whole<&S::bookmarksHeight>(),
    cycle<&S::playTime>(),
    cycle<&S::pauseTime>(),
    {[](S& s, const Value& v) { s.smartPlay = v && int16Of(v) != 0; },
     [](const S& s) { return flag(s.smartPlay); }},
};

} // namespace

StoredSettings parse(const QStringList& fileLines)
{
    StoredSettings settings;
    for (int i = 0; i < kLineCount; ++i)
        kLines[i].read(settings,
                       i < fileLines.size() ? Value(lineValue(fileLines.at(i))) : Value());
    return settings;
}

QStringList lines(const StoredSettings& settings)
{
    QStringList written;
    for (const Line& line : kLines)
        written << line.write(settings);
    return written;
}

std::optional<QString> readLanguageFile(const QString& path, QString* error)
{
    const auto fileLines = readTextLines(path, error);
    if (!fileLines)
        return std::nullopt;
    if (fileLines->isEmpty()) {
        if (error)
            *error = QCoreApplication::translate("SettingsFile", "the file is empty");
        return std::nullopt;
    }
    return lineValue(fileLines->first());
}

std::optional<StoredSettings> read(const QString& path, QString* error)
{
    const auto fileLines = readTextLines(path, error);
    if (!fileLines)
        return std::nullopt;
    return parse(*fileLines);
}

bool write(const QString& path, const StoredSettings& settings, QString* error)
{
    return writeTextLines(path, lines(settings), error);
}

} // namespace SettingsFile
