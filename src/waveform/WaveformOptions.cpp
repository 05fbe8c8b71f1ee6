#include "waveform/WaveformOptions.h"

#include "core/OptionLines.h"
#include "platform/TextFile.h"

#include <cmath>

namespace {

const QString kShownName = QStringLiteral("Shown");
const QString kNormalisedName = QStringLiteral("Normalised");
const QString kSpanName = QStringLiteral("Span");

} // namespace

WaveformOptions WaveformOptions::parse(const QStringList& lines)
{
    WaveformOptions options;
    for (const QString& line : lines) {
        const auto split = OptionLines::split(line);
        if (!split)
            continue;
        const auto& [name, value] = *split;
        if (name.compare(kShownName, Qt::CaseInsensitive) == 0) {
            options.shown = OptionLines::yesOrNo(value).value_or(options.shown);
        } else if (name.compare(kNormalisedName, Qt::CaseInsensitive) == 0) {
            options.normalised = OptionLines::yesOrNo(value).value_or(options.normalised);
        } else if (name.compare(kSpanName, Qt::CaseInsensitive) == 0) {
            bool ok = false;
            const double span = value.trimmed().toDouble(&ok);
            if (ok && std::isfinite(span) && span > 0)
                options.span = span;
        }
    }
    return options;
}

QStringList WaveformOptions::lines() const
{
    return {OptionLines::line(kShownName, OptionLines::yesOrNo(shown)),
            OptionLines::line(kNormalisedName, OptionLines::yesOrNo(normalised)),
            OptionLines::line(kSpanName, QString::number(span, 'g', 6))};
}

WaveformOptions WaveformOptions::read(const QString& path, QString* error)
{
    const auto lines = OptionLines::readFile(path, error);
    return lines ? parse(*lines) : WaveformOptions{};
}

bool WaveformOptions::write(const QString& path, QString* error) const
{
    return writeTextLines(path, lines(), error);
}
