#pragma once

// What the RTF tests compare: a document's text with its blocks joined by \n, each character's
// formatting as seen on screen (the document's default font where a format names none), and
// each block's alignment and list.

#include <QColor>
#include <QHash>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <vector>

namespace RtfTest {

struct CharLook {
    QString family;
    double points = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QColor foreground; // invalid: none
    QColor background;

    bool operator==(const CharLook&) const = default;
};

inline QColor brushColor(const QBrush& brush)
{
    return brush.style() == Qt::NoBrush ? QColor() : brush.color();
}

inline CharLook lookOf(const QTextCharFormat& format, const QTextDocument& document)
{
    CharLook look;
    const QStringList families = format.fontFamilies().toStringList();
    look.family = families.isEmpty() ? document.defaultFont().family() : families.front();
    look.points = format.hasProperty(QTextFormat::FontPointSize)
                      ? format.fontPointSize()
                      : document.defaultFont().pointSizeF();
    look.bold = format.fontWeight() >= QFont::DemiBold;
    look.italic = format.fontItalic();
    look.underline = format.underlineStyle() != QTextCharFormat::NoUnderline;
    look.strike = format.fontStrikeOut();
    look.foreground = brushColor(format.foreground());
    look.background = brushColor(format.background());
    return look;
}

inline QString text(const QTextDocument& document)
{
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks << block.text();
    return blocks.join(u'\n');
}

// One entry per character of text(); the \n between blocks get a default look.
inline std::vector<CharLook> looks(const QTextDocument& document)
{
    std::vector<CharLook> result;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            result.emplace_back();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const CharLook look = lookOf(it.fragment().charFormat(), document);
            result.insert(result.end(), size_t(it.fragment().length()), look);
        }
    }
    return result;
}

// Per block: l, c, r or j, then for a list item its style (• ◦ ▪ # a A i I) and the list's
// number in order of first appearance, then @indent when deeper than the first level.
inline QStringList blocks(const QTextDocument& document)
{
    QStringList result;
    QHash<const QTextList*, int> lists;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const Qt::Alignment alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        QString summary = alignment & Qt::AlignHCenter   ? QStringLiteral("c")
                          : alignment & Qt::AlignRight   ? QStringLiteral("r")
                          : alignment & Qt::AlignJustify ? QStringLiteral("j")
                                                         : QStringLiteral("l");
        if (const QTextList* list = block.textList()) {
            static const QHash<int, QString> marks = {
                {QTextListFormat::ListDisc, "•"},       {QTextListFormat::ListCircle, "◦"},
                {QTextListFormat::ListSquare, "▪"},     {QTextListFormat::ListDecimal, "#"},
                {QTextListFormat::ListLowerAlpha, "a"}, {QTextListFormat::ListUpperAlpha, "A"},
                {QTextListFormat::ListLowerRoman, "i"}, {QTextListFormat::ListUpperRoman, "I"}};
            if (!lists.contains(list))
                lists.insert(list, int(lists.size()) + 1);
            summary +=
                marks.value(list->format().style(), "?") + QString::number(lists.value(list));
            if (list->format().indent() > 1)
                summary += u'@' + QString::number(list->format().indent());
        }
        result << summary;
    }
    return result;
}

} // namespace RtfTest
