#include "editor/Snippets.h"

#include "core/InterfaceTexts.h"
#include "core/OptionLines.h"

namespace {

const QString kText = QStringLiteral("Text");
const QString kNewParagraph = QStringLiteral("NewParagraph");
const QString kTimestamp = QStringLiteral("Timestamp");

} // namespace

Snippets Snippets::defaults(const InterfaceTexts& texts)
{
    Snippets snippets;
    snippets.slots[0] = {texts.plain(Text::FirstSpeakerLabel) + QLatin1Char(' '), true, false};
    snippets.slots[1] = {texts.plain(Text::SecondSpeakerLabel) + QLatin1Char(' '), true, false};
    return snippets;
}

Snippets Snippets::parse(const QStringList& lines)
{
    Snippets snippets;
    for (const QString& line : lines) {
        const auto split = OptionLines::split(line);
        if (!split)
            continue;
        const auto& [name, value] = *split;
        // The slot's digit ends the name.
        const int slot = name.back().digitValue() - 1;
        if (slot < 0 || slot >= kCount)
            continue;
        const QString key = name.chopped(1);
        Snippet& snippet = snippets.slots[size_t(slot)];
        if (key.compare(kText, Qt::CaseInsensitive) == 0)
            snippet.text = value;
        else if (key.compare(kNewParagraph, Qt::CaseInsensitive) == 0)
            snippet.newParagraph = OptionLines::yesOrNo(value).value_or(false);
        else if (key.compare(kTimestamp, Qt::CaseInsensitive) == 0)
            snippet.timestamp = OptionLines::yesOrNo(value).value_or(false);
    }
    return snippets;
}

QStringList Snippets::lines() const
{
    QStringList lines;
    for (int i = 0; i < kCount; ++i) {
        const Snippet& snippet = slots[size_t(i)];
        const QString number = QString::number(i + 1);
        lines << OptionLines::line(kText + number, snippet.text)
              << OptionLines::line(kNewParagraph + number,
                                   OptionLines::yesOrNo(snippet.newParagraph))
              << OptionLines::line(kTimestamp + number, OptionLines::yesOrNo(snippet.timestamp));
    }
    return lines;
}
