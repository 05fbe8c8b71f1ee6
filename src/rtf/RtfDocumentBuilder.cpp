#include "rtf/RtfDocumentBuilder.h"

#include "rtf/RtfTables.h"

#include <QTextBlock>
#include <QTextList>

namespace {

constexpr size_t kFormatCacheSize = 16;
constexpr size_t kMaxOpenLists = 32;
constexpr int kMaxListLevel = 8;

QTextBlockFormat blockFormat(const RtfParaProps& props)
{
    QTextBlockFormat format;
    if (props.alignment != Qt::AlignLeft)
        format.setAlignment(Qt::Alignment(props.alignment));
    return format;
}

} // namespace

RtfDocumentBuilder::RtfDocumentBuilder(QTextCursor& cursor, const RtfTables& tables, bool inserting)
    : m_cursor(cursor), m_tables(tables), m_inserting(inserting)
{
    m_insertionFormat = m_inserting ? m_cursor.blockFormat() : QTextBlockFormat();
    m_blockAlignment = int(m_insertionFormat.alignment() & Qt::AlignHorizontal_Mask);
    m_run.reserve(256);
}

void RtfDocumentBuilder::startRun(const RtfCharProps& props)
{
    flushRun();
    if (m_breakPending) {
        m_breakPending = false;
        if (m_inserting) {
            formatBlock(m_endedParagraph);
            placeInList(m_endedParagraph);
        }
        m_cursor.insertBlock(m_insertionFormat, format(props));
        m_blockAlignment = int(m_insertionFormat.alignment() & Qt::AlignHorizontal_Mask);
    }
    m_runProps = props;
}

void RtfDocumentBuilder::flushRun()
{
    if (m_run.isEmpty())
        return;
    m_cursor.insertText(m_run, format(m_runProps));
    m_run.resize(0);
}

const QTextCharFormat& RtfDocumentBuilder::format(const RtfCharProps& props)
{
    for (const CachedFormat& cached : m_formats) {
        if (cached.props == props)
            return cached.format;
    }
    QTextCharFormat format;
    if (const RtfFont* font = m_tables.font(props.font); font && !font->family.isEmpty())
        format.setFontFamilies({font->family});
    format.setFontPointSize(props.halfPoints / 2.0);
    if (props.bold)
        format.setFontWeight(QFont::Bold);
    if (props.italic)
        format.setFontItalic(true);
    if (props.underline)
        format.setFontUnderline(true);
    if (props.strike)
        format.setFontStrikeOut(true);
    if (const QColor color = m_tables.color(props.foreground); color.isValid())
        format.setForeground(color);
    if (const QColor color = m_tables.color(props.background); color.isValid())
        format.setBackground(color);

    if (m_formats.size() < kFormatCacheSize) {
        m_formats.push_back({props, format});
        return m_formats.back().format;
    }
    CachedFormat& slot = m_formats[m_nextFormatSlot];
    m_nextFormatSlot = (m_nextFormatSlot + 1) % kFormatCacheSize;
    slot = {props, format};
    return slot.format;
}

void RtfDocumentBuilder::forgetFormats()
{
    flushRun(); // text read before the tables changed keeps what they said then
    m_formats.clear();
    m_nextFormatSlot = 0;
}

void RtfDocumentBuilder::endParagraph(const RtfParaProps& props)
{
    if (m_breakPending) // an empty paragraph
        startRun(m_runProps);
    flushRun();
    if (m_inserting) {
        m_endedParagraph = props;
    } else {
        formatBlock(props);
        placeInList(props);
    }
    m_breakPending = true;
}

void RtfDocumentBuilder::finish(const RtfParaProps& props)
{
    if (m_breakPending)
        return;
    flushRun();
    if (!m_inserting) {
        formatBlock(props);
        placeInList(props);
    }
}

void RtfDocumentBuilder::formatBlock(const RtfParaProps& props)
{
    if (props.alignment == m_blockAlignment && !m_cursor.currentList())
        return;
    m_cursor.setBlockFormat(blockFormat(props));
    m_blockAlignment = props.alignment;
}

void RtfDocumentBuilder::placeInList(const RtfParaProps& props)
{
    if (props.list == RtfListSource::None) {
        m_openLists.clear();
        return;
    }
    const int listOverride = props.list == RtfListSource::Table ? props.listOverride : 0;
    const int level = std::clamp(props.level, 0, kMaxListLevel);
    const QTextListFormat::Style style =
        props.list == RtfListSource::Table ? m_tables.listStyle(listOverride, level)
        : props.pnBullet                   ? QTextListFormat::ListDisc
                                           : QTextListFormat::Style(props.pnNumberStyle);
    const auto sameList = [&](const OpenList& open) {
        return open.source == props.list && open.listOverride == listOverride;
    };
    // An item ends the deeper levels of its list: their numbering starts again after it.
    std::erase_if(m_openLists,
                  [&](const OpenList& open) { return sameList(open) && open.level > level; });
    for (OpenList& open : m_openLists) {
        if (sameList(open) && open.level == level) {
            if (open.list->format().style() == style) {
                open.list->add(m_cursor.block());
                return;
            }
            open.list = createList(style, level);
            return;
        }
    }
    if (m_openLists.size() >= kMaxOpenLists)
        m_openLists.erase(m_openLists.begin());
    m_openLists.push_back({props.list, listOverride, level, createList(style, level)});
}

QTextList* RtfDocumentBuilder::createList(QTextListFormat::Style style, int level)
{
    QTextListFormat format;
    format.setStyle(style);
    format.setIndent(level + 1);
    return m_cursor.createList(format);
}
