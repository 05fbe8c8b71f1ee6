#include "core/ListeningOptions.h"

#include "core/OptionLines.h"
#include "platform/TextFile.h"

namespace {

const QString kTypeToPauseName = QStringLiteral("TypeToPause");
const QString kTypingRestName = QStringLiteral("TypingRestMs");
// A rest shorter than a slow typist's gap between keys would play between the letters.
constexpr int kShortestRestMs = 200;
constexpr int kLongestRestMs = 60000;

} // namespace

ListeningOptions ListeningOptions::parse(const QStringList& lines)
{
    ListeningOptions options;
    for (const QString& line : lines) {
        const auto split = OptionLines::split(line);
        if (!split)
            continue;
        const auto& [name, value] = *split;
        if (name.compare(kTypeToPauseName, Qt::CaseInsensitive) == 0) {
            options.typeToPause = OptionLines::yesOrNo(value).value_or(options.typeToPause);
        } else if (name.compare(kTypingRestName, Qt::CaseInsensitive) == 0) {
            bool ok = false;
            const int ms = value.trimmed().toInt(&ok);
            if (ok && ms >= kShortestRestMs && ms <= kLongestRestMs)
                options.typingRestMs = ms;
        }
    }
    return options;
}

QStringList ListeningOptions::lines() const
{
    return {OptionLines::line(kTypeToPauseName, OptionLines::yesOrNo(typeToPause)),
            OptionLines::line(kTypingRestName, QString::number(typingRestMs))};
}

ListeningOptions ListeningOptions::read(const QString& path, QString* error)
{
    const auto lines = OptionLines::readFile(path, error);
    return lines ? parse(*lines) : ListeningOptions{};
}

bool ListeningOptions::write(const QString& path, QString* error) const
{
    return writeTextLines(path, lines(), error);
}
