#include "rtf/RtfDocumentWriter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxListLevel = 8;
constexpr int kIndentTwips = 360;

bool isBullet(int style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

char16_t bulletCharacter(int style)
{
    return style == QTextListFormat::ListCircle   ? 0x25E6
           : style == QTextListFormat::ListSquare ? 0x25AA
                                                  : 0x2022;
}

// The \levelnfc of a list style.
int numberFormat(int style)
{
    switch (style) {
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    default:
        return isBullet(style) ? 23 : 0;
    }
}

const char* alignmentWord(Qt::Alignment alignment)
{
    switch (int(alignment & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute)) {
    case Qt::AlignHCenter:
        return "qc";
    case Qt::AlignRight:
        return "qr";
    case Qt::AlignJustify:
        return "qj";
    default:
        return nullptr;
    }
}

} // namespace

RtfDocumentWriter::RtfDocumentWriter(const QTextDocument& document)
    : m_document(document), m_formats(document.allFormats()),
      m_propsOfFormat(size_t(m_formats.size()), -1)
{
    const QFont font = document.defaultFont();
    m_defaultFamily = font.family().isEmpty() ? QStringLiteral("Arial") : font.family();
    m_defaultPointSize = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
}

const RtfDocumentWriter::RunProps& RtfDocumentWriter::propsOfFormat(int formatIndex)
{
    if (formatIndex < 0 || size_t(formatIndex) >= m_propsOfFormat.size())
        formatIndex = 0;
    int& known = m_propsOfFormat[size_t(formatIndex)];
    if (known >= 0)
        return m_props[size_t(known)];

    const QTextCharFormat format = m_formats.value(formatIndex).toCharFormat();
    RunProps props;
    const QStringList families = format.fontFamilies().toStringList();
    props.font = fontIndex(families.isEmpty() || families.front().isEmpty() ? m_defaultFamily
                                                                            : families.front());
    double points = m_defaultPointSize;
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        points = format.fontPointSize();
    else if (format.hasProperty(QTextFormat::FontPixelSize))
        points = format.intProperty(QTextFormat::FontPixelSize) * 0.75;
    props.halfPoints = std::clamp(int(std::lround(points * 2)), 2, 3276);
    props.bold = format.fontWeight() >= QFont::DemiBold;
    props.italic = format.fontItalic();
    const QTextCharFormat::UnderlineStyle underline = format.underlineStyle();
    props.underline = format.fontUnderline() || (underline != QTextCharFormat::NoUnderline &&
                                                 underline != QTextCharFormat::SpellCheckUnderline);
    props.strike = format.fontStrikeOut();
    props.foreground = colorIndex(format.foreground());
    props.background = colorIndex(format.background());

    known = int(m_props.size());
    m_props.push_back(props);
    return m_props.back();
}

int RtfDocumentWriter::fontIndex(const QString& family)
{
    const auto it = m_fontIndex.constFind(family);
    if (it != m_fontIndex.cend())
        return *it;
    m_fonts.append(family);
    return *m_fontIndex.insert(family, int(m_fonts.size()) - 1);
}

int RtfDocumentWriter::colorIndex(const QBrush& brush)
{
    if (brush.style() == Qt::NoBrush || brush.color().alpha() == 0)
        return 0;
    const QRgb rgb = brush.color().rgb();
    const auto it = m_colorIndex.constFind(rgb);
    if (it != m_colorIndex.cend())
        return *it;
    m_colors.push_back(rgb);
    return *m_colorIndex.insert(rgb, int(m_colors.size())); // 0 is automatic
}

int RtfDocumentWriter::listIndex(const QTextList* list)
{
    const auto it = m_listIndex.constFind(list);
    if (it != m_listIndex.cend())
        return *it;
    const QTextListFormat format = list->format();
    m_lists.push_back({format.style(), std::clamp(format.indent() - 1, 0, kMaxListLevel), 0});
    return *m_listIndex.insert(list, int(m_lists.size()) - 1);
}

void RtfDocumentWriter::writeProps(const RunProps& props)
{
    if (props == m_current)
        return;
    if (props.font != m_current.font)
        m_out.word("f", props.font);
    if (props.halfPoints != m_current.halfPoints)
        m_out.word("fs", props.halfPoints);
    if (props.bold != m_current.bold)
        m_out.word(props.bold ? "b" : "b0");
    if (props.italic != m_current.italic)
        m_out.word(props.italic ? "i" : "i0");
    if (props.underline != m_current.underline)
        m_out.word(props.underline ? "ul" : "ulnone");
    if (props.strike != m_current.strike)
        m_out.word(props.strike ? "strike" : "strike0");
    if (props.foreground != m_current.foreground)
        m_out.word("cf", props.foreground);
    if (props.background != m_current.background)
        m_out.word("highlight", props.background);
    m_current = props;
}

void RtfDocumentWriter::writeParagraphStart(const QTextBlock& block)
{
    m_out.word("pard");
    if (const char* alignment = alignmentWord(block.blockFormat().alignment()))
        m_out.word(alignment);
    const QTextList* list = block.textList();
    if (!list)
        return;
    const int index = listIndex(list);
    ListEntry& entry = m_lists[size_t(index)];
    ++entry.itemsWritten;
    // The mark as plain text, for readers that know no lists; those that do skip it.
    m_out.raw("{");
    m_out.word("listtext");
    if (isBullet(entry.style)) {
        const char16_t bullet = bulletCharacter(entry.style);
        m_out.text(QStringView(&bullet, 1));
    } else {
        m_out.text(QString::number(entry.itemsWritten) + u'.');
    }
    m_out.word("tab");
    m_out.raw("}");
    m_out.word("ls", index + 1);
    m_out.word("ilvl", entry.level);
    m_out.word("fi", -kIndentTwips);
    m_out.word("li", 2 * kIndentTwips * (entry.level + 1));
}

QByteArray RtfDocumentWriter::write(int from, int to)
{
    m_out.reserve(std::max(0, to - from) + 1024);
    m_current = RunProps(); // RTF's own start: the default font, 12 points, nothing set

    QTextBlock block = m_document.findBlock(from);
    for (; block.isValid() && block.position() <= to; block = block.next()) {
        writeParagraphStart(block);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(fragment.position(), from);
            const int end = std::min(fragment.position() + fragment.length(), to);
            if (start >= end)
                continue;
            writeProps(propsOfFormat(fragment.charFormatIndex()));
            const QString text = fragment.text();
            m_out.text(QStringView(text).mid(start - fragment.position(), end - start));
        }
        m_out.word("par");
        m_out.raw("\n");
    }

    QByteArray document = header();
    document.reserve(document.size() + m_out.bytes().size() + 2);
    document += m_out.bytes();
    document += "}\n";
    return document;
}

QByteArray RtfDocumentWriter::header() const
{
    RtfOutput table;
    table.raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1");
    table.raw("{\\fonttbl");
    for (int i = 0; i < m_fonts.size(); ++i) {
        table.raw("{");
        table.word("f", i);
        table.word("fnil");
        table.word("fcharset0");
        // A semicolon would end the name early.
        table.text(QString(m_fonts[i]).remove(u';'));
        table.raw(";}");
    }
    table.raw("}");
    if (!m_colors.empty()) {
        table.raw("{\\colortbl;");
        for (const QRgb rgb : m_colors) {
            table.word("red", qRed(rgb));
            table.word("green", qGreen(rgb));
            table.word("blue", qBlue(rgb));
            table.raw(";");
        }
        table.raw("}");
    }
    if (!m_lists.empty()) {
        table.raw("\n{\\*\\listtable");
        for (size_t i = 0; i < m_lists.size(); ++i) {
            const ListEntry& list = m_lists[i];
            table.raw("{");
            table.word("list");
            table.word("listtemplateid", int(i) + 1);
            // Levels up to the list's own, all alike, so that \ilvl finds its level.
            for (int level = 0; level <= list.level; ++level) {
                table.raw("{");
                table.word("listlevel");
                table.word("levelnfc", numberFormat(list.style));
                table.word("levelnfcn", numberFormat(list.style));
                table.word("leveljc0");
                table.word("levelstartat1");
                table.raw("{");
                table.word("leveltext");
                if (isBullet(list.style)) {
                    const char16_t bullet = bulletCharacter(list.style);
                    table.raw("\\'01");
                    table.text(QStringView(&bullet, 1));
                    table.raw(";}{\\levelnumbers;}");
                } else {
                    table.raw("\\'02\\'00.;}{\\levelnumbers\\'01;}");
                }
                table.word("fi", -kIndentTwips);
                table.word("li", 2 * kIndentTwips * (level + 1));
                table.raw("}");
            }
            table.word("listid", int(i) + 1);
            table.raw("}");
        }
        table.raw("}\n{\\*\\listoverridetable");
        for (size_t i = 0; i < m_lists.size(); ++i) {
            table.raw("{");
            table.word("listoverride");
            table.word("listid", int(i) + 1);
            table.word("listoverridecount0");
            table.word("ls", int(i) + 1);
            table.raw("}");
        }
        table.raw("}");
    }
    table.raw("\n");
    return table.bytes();
}
