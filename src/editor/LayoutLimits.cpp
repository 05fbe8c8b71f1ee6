#include "editor/LayoutLimits.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <algorithm>

namespace LayoutLimits {

namespace {

// The longest stretch between two places where a line may break, without the spaces that end
// it.
qsizetype longestUnbroken(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    qsizetype longest = 0;
    qsizetype last = 0;
    for (qsizetype at = finder.toNextBoundary(); at >= 0; at = finder.toNextBoundary()) {
        qsizetype end = at;
        while (end > last && text.at(end - 1).isSpace())
            --end;
        longest = std::max(longest, end - last);
        last = at;
    }
    return longest;
}

bool unbrokenFits(const QString& text)
{
    // Spaces settle nearly every paragraph; the line breaking rules only those without them,
    // such as scripts written without spaces.
    qsizetype sinceSpace = 0;
    for (const QChar c : text) {
        sinceSpace = c.isSpace() ? 0 : sinceSpace + 1;
        if (sinceSpace > kMaxUnbrokenLength)
            return longestUnbroken(text) <= kMaxUnbrokenLength;
    }
    return true;
}

bool paragraphFits(const QTextBlock& block)
{
    // Every run and every stretch holds a character at least: most paragraphs need no closer look.
    const int length = block.length() - 1;
    if (length > kMaxParagraphLength)
        return false;
    int runs = 0;
    for (auto it = block.begin(); length > kMaxParagraphRuns && !it.atEnd(); ++it) {
        if (++runs > kMaxParagraphRuns)
            return false;
    }
    return length <= kMaxUnbrokenLength || unbrokenFits(block.text());
}

} // namespace

bool Check::fitSoFar()
{
    return m_document.characterCount() - 1 <= kMaxCharacters &&
           m_document.blockCount() <= kMaxParagraphs &&
           m_document.lastBlock().length() - 1 <= kMaxParagraphLength &&
           paragraphsFit(m_document.blockCount() - 1);
}

bool Check::fit()
{
    return fitSoFar() && paragraphsFit(m_document.blockCount());
}

bool Check::paragraphsFit(int end)
{
    for (QTextBlock block = m_document.findBlockByNumber(m_checkedParagraphs);
         block.isValid() && m_checkedParagraphs < end; block = block.next()) {
        if (!paragraphFits(block))
            return false;
        ++m_checkedParagraphs;
    }
    return true;
}

} // namespace LayoutLimits
