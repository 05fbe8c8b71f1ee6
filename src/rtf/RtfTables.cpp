#include "rtf/RtfTables.h"

#include "rtf/RtfCodePages.h"

#include <QTextListFormat>

namespace {

QTextListFormat::Style styleOfLevel(const RtfListLevel& definition, int level)
{
    switch (definition.numberFormat) {
    case 23:  // bullet
    case 255: // no number: shown as a bullet rather than lost
        if (definition.bulletStyle)
            return QTextListFormat::Style(definition.bulletStyle);
        // Word's own choice by level when the bullet's character tells nothing.
        return level % 3 == 0   ? QTextListFormat::ListDisc
               : level % 3 == 1 ? QTextListFormat::ListCircle
                                : QTextListFormat::ListSquare;
    case 1:
        return QTextListFormat::ListUpperRoman;
    case 2:
        return QTextListFormat::ListLowerRoman;
    case 3:
        return QTextListFormat::ListUpperAlpha;
    case 4:
        return QTextListFormat::ListLowerAlpha;
    default:
        return QTextListFormat::ListDecimal;
    }
}

} // namespace

const RtfFont* RtfTables::font(int number) const
{
    const auto it = fonts.constFind(number < 0 ? defaultFont : number);
    return it == fonts.cend() ? nullptr : &*it;
}

int RtfTables::codePageOf(int fontNumber, RtfCharClass charClass) const
{
    const int fontPage = codePageOfFont(fontNumber);
    switch (charClass) {
    case RtfCharClass::High:
        // Single bytes, though the font be Japanese: a \'93 there is a quotation mark.
        return RtfCodePages::isMultiByte(fontPage) ? 1252 : fontPage;
    case RtfCharClass::Double:
        return !RtfCodePages::isMultiByte(fontPage) && RtfCodePages::isMultiByte(ansiCodePage)
                   ? ansiCodePage
                   : fontPage;
    case RtfCharClass::None:
    case RtfCharClass::Low: // ASCII, the same in every code page; the font decides otherwise
        break;
    }
    return fontPage;
}

int RtfTables::codePageOfFont(int fontNumber) const
{
    const RtfFont* entry = font(fontNumber);
    if (!entry)
        return ansiCodePage;
    if (entry->codePage > 0)
        return entry->codePage;
    const int codePage = RtfCodePages::forCharset(entry->charset);
    // Only the font named Symbol is read through the Symbol table: other symbol fonts have
    // pictures of their own that no Unicode text stands for.
    if (codePage == RtfCodePages::Symbol &&
        entry->family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) != 0)
        return ansiCodePage;
    if (codePage > 0)
        return codePage;
    // The ANSI character set is the document's own code page, unless that is an East Asian
    // one: then it marks the Western fonts beside the Asian ones.
    return entry->charset == 0 && RtfCodePages::isMultiByte(ansiCodePage) ? 1252 : ansiCodePage;
}

QColor RtfTables::color(int index) const
{
    return index > 0 && size_t(index) < colors.size() ? colors[size_t(index)] : QColor();
}

void RtfTables::indexLists()
{
    m_listOfOverride.clear();
    for (const RtfListOverride& entry : listOverrides)
        m_listOfOverride.insert(entry.index, entry.listId);
    m_listById.clear();
    for (size_t i = 0; i < lists.size(); ++i)
        m_listById.insert(lists[i].id, i);
}

QTextListFormat::Style RtfTables::listStyle(int listOverride, int level) const
{
    const auto override = m_listOfOverride.constFind(listOverride);
    if (override != m_listOfOverride.cend()) {
        const auto list = m_listById.constFind(*override);
        if (list != m_listById.cend() && *list < lists.size()) {
            const std::vector<RtfListLevel>& levels = lists[*list].levels;
            if (size_t(level) < levels.size())
                return styleOfLevel(levels[size_t(level)], level);
        }
    }
    return styleOfLevel({23, 0}, level); // a list paragraph with no table: a bullet
}
