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

} // namespace

StoredSettings parse(const QStringList& fileLines)
{
    const auto at = [&](int line) -> std::optional<QString> {
        if (line > fileLines.size())
            return std::nullopt;
        return lineValue(fileLines.at(line - 1));
    };
    const auto int16At = [&](int line) { return at(line) ? toInt16(*at(line)).value_or(0) : 0; };

    StoredSettings s;
    s.languageFile = at(1).value_or(QString());
    if (const auto volume = at(2))
        s.volume = volumeValue(*volume);
    if (const auto knob = at(3)) {
        bool ok = false;
        const double top = QLocale::c().toDouble(knob->trimmed(), &ok);
        if (ok && std::isfinite(top))
            s.knobTop = top;
    }
    s.jumpSeconds = skipSeconds(int16At(4));
    s.backSeconds =
        std::clamp(int16At(5), SettingLimits::kFewestSecondsBack, SettingLimits::kMostSecondsBack);
    if (const auto full = at(6)) {
        // A text that is not a number leaves the full path shown.
        bool isNumber = false;
        const double number = QLocale::c().toDouble(full->trimmed(), &isNumber);
        if (isNumber && std::isfinite(number))
            s.showFullPath = std::nearbyint(number) == 1.0;
    }
    s.editorFolder = at(7).value_or(QString());
    s.editorVisible = !at(8) || int16At(8) == 0;
    s.playerLeft = int16At(9);
    s.playerTop = int16At(10);
    s.editorLeft = int16At(11);
    s.editorTop = int16At(12);
    s.editorWidth = int16At(13);
    s.editorHeight = int16At(14);
    s.alwaysOnTop = !at(15) || at(15)->isEmpty() || *at(15) == QStringLiteral("0");
    s.bookmarksVisible = at(16) && int16At(16) == 0;
    s.bookmarksLeft = int16At(17);
    s.bookmarksTop = int16At(18);
    s.bookmarksWidth = int16At(19);
    s.bookmarksHeight = int16At(20);
    s.playTime = cycleSeconds(at(21));
    s.pauseTime = cycleSeconds(at(22));
    s.smartPlay = at(23) && int16At(23) != 0;
    return s;
}

QStringList lines(const StoredSettings& s)
{
    return {
        s.languageFile,
        s.volume ? QString::number(*s.volume) : QString(),
        s.knobTop ? formatNumber(*s.knobTop) : QString(),
        QString::number(s.jumpSeconds),
        QString::number(s.backSeconds),
        flag(s.showFullPath),
        s.editorFolder,
        inverseFlag(s.editorVisible),
        QString::number(s.playerLeft),
        QString::number(s.playerTop),
        QString::number(s.editorLeft),
        QString::number(s.editorTop),
        QString::number(s.editorWidth),
        QString::number(s.editorHeight),
        inverseFlag(s.alwaysOnTop),
        inverseFlag(s.bookmarksVisible),
        QString::number(s.bookmarksLeft),
        QString::number(s.bookmarksTop),
        QString::number(s.bookmarksWidth),
        QString::number(s.bookmarksHeight),
        QString::number(s.playTime),
        QString::number(s.pauseTime),
        flag(s.smartPlay),
    };
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
