#include "editor/Snippets.h"

#include "core/InterfaceTexts.h"

namespace {

const QString kText = QStringLiteral("Text");
const QString kNewParagraph = QStringLiteral("NewParagraph");
const QString kTimestamp = QStringLiteral("Timestamp");

bool isYes(const QString& value)
{
    const QString word = value.trimmed().toLower();
    return word == QLatin1String("yes") || word == QLatin1String("1") ||
           word == QLatin1String("true");
}

QString yesNo(bool on)
{
    return on ? QStringLiteral("yes") : QStringLiteral("no");
}

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
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 1)
            continue;
        const QString name = line.left(equals).trimmed();
        // The slot's digit ends the name.
        const int slot = name.back().digitValue() - 1;
        if (slot < 0 || slot >= kCount)
            continue;
        const QString key = name.chopped(1);
        const QString value = line.mid(equals + 1);
        Snippet& snippet = snippets.slots[size_t(slot)];
        if (key.compare(kText, Qt::CaseInsensitive) == 0)
            snippet.text = value;
        else if (key.compare(kNewParagraph, Qt::CaseInsensitive) == 0)
            snippet.newParagraph = isYes(value);
        else if (key.compare(kTimestamp, Qt::CaseInsensitive) == 0)
            snippet.timestamp = isYes(value);
    }
    return snippets;
}

QStringList Snippets::lines() const
{
    QStringList lines;
    for (int i = 0; i < kCount; ++i) {
        const Snippet& snippet = slots[size_t(i)];
        const QString number = QString::number(i + 1);
        lines << kText + number + QLatin1Char('=') + snippet.text
              << kNewParagraph + number + QLatin1Char('=') + yesNo(snippet.newParagraph)
              << kTimestamp + number + QLatin1Char('=') + yesNo(snippet.timestamp);
    }
    return lines;
}
