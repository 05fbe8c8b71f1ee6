#include "rtf/RtfDocumentBuilder.h"

#include "rtf/RtfTables.h"

#include <QTextBlock>
#include <QTextList>

namespace {

constexpr size_t kFormatCacheSize = 16;

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
        m_listSource = RtfListSource::None;
        return;
    }
    const bool sameList = props.list == m_listSource &&
                          (props.list == RtfListSource::Pn || props.listOverride == m_listOverride);
    if (!sameList) {
        m_lists.fill(nullptr);
        m_listSource = props.list;
        m_listOverride = props.listOverride;
    }
    const int level = std::clamp(props.level, 0, int(m_lists.size()) - 1);
    const QTextListFormat::Style style =
        props.list == RtfListSource::Table ? m_tables.listStyle(props.listOverride, level)
        : props.pnBullet                   ? QTextListFormat::ListDisc
                                           : QTextListFormat::Style(props.pnNumberStyle);
    for (size_t deeper = size_t(level) + 1; deeper < m_lists.size(); ++deeper)
        m_lists[deeper] = nullptr;
    QTextList*& list = m_lists[size_t(level)];
    if (list && list->format().style() == style) {
        list->add(m_cursor.block());
        return;
    }
    QTextListFormat format;
    format.setStyle(style);
    format.setIndent(level + 1);
    list = m_cursor.createList(format);
}
