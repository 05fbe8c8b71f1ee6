#include "transcript/DocxWriter.h"

#include "transcript/ZipArchive.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>

namespace DocxWriter {

namespace {

const QString kMain =
    QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kRelationships =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
constexpr int kListLevels = 9;
constexpr int kTwipsPerLevel = 720;

const char kContentTypes[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
    "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "<Override PartName=\"/word/styles.xml\" ContentType=\"application/"
    "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
    "<Override PartName=\"/word/numbering.xml\" ContentType=\"application/"
    "vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml\"/>"
    "</Types>";

const char kPackageRelationships[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
    "relationships/officeDocument\" Target=\"word/document.xml\"/>"
    "</Relationships>";

const char kDocumentRelationships[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
    "relationships/styles\" Target=\"styles.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
    "relationships/numbering\" Target=\"numbering.xml\"/>"
    "</Relationships>";

// XML 1.0 refuses most control characters; a document may still hold one pasted in.
bool isXmlCharacter(QChar c)
{
    return c.unicode() >= 0x20 || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

QString hexColour(const QColor& colour)
{
    return colour.name(QColor::HexRgb).mid(1).toUpper();
}

QString familyOf(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
}

void writeFonts(QXmlStreamWriter& xml, const QString& family)
{
    xml.writeEmptyElement(QStringLiteral("w:rFonts"));
    for (const char* slot : {"w:ascii", "w:hAnsi", "w:cs", "w:eastAsia"})
        xml.writeAttribute(QLatin1String(slot), family);
}

void writeValue(QXmlStreamWriter& xml, const QString& element, const QString& value)
{
    xml.writeEmptyElement(element);
    xml.writeAttribute(QStringLiteral("w:val"), value);
}

// In the order the schema gives the run properties.
void writeRunProperties(QXmlStreamWriter& xml, const QTextCharFormat& format)
{
    xml.writeStartElement(QStringLiteral("w:rPr"));
    if (const QString family = familyOf(format); !family.isEmpty())
        writeFonts(xml, family);
    if (format.fontWeight() >= QFont::DemiBold)
        xml.writeEmptyElement(QStringLiteral("w:b"));
    if (format.fontItalic())
        xml.writeEmptyElement(QStringLiteral("w:i"));
    if (format.fontStrikeOut())
        xml.writeEmptyElement(QStringLiteral("w:strike"));
    if (format.foreground().style() != Qt::NoBrush)
        writeValue(xml, QStringLiteral("w:color"), hexColour(format.foreground().color()));
    if (format.fontPointSize() > 0)
        writeValue(xml, QStringLiteral("w:sz"),
                   QString::number(std::lround(format.fontPointSize() * 2)));
    if (format.fontUnderline())
        writeValue(xml, QStringLiteral("w:u"), QStringLiteral("single"));
    if (format.background().style() != Qt::NoBrush) {
        xml.writeEmptyElement(QStringLiteral("w:shd"));
        xml.writeAttribute(QStringLiteral("w:val"), QStringLiteral("clear"));
        xml.writeAttribute(QStringLiteral("w:color"), QStringLiteral("auto"));
        xml.writeAttribute(QStringLiteral("w:fill"), hexColour(format.background().color()));
    }
    xml.writeEndElement();
}

// The run's text; tabs and line breaks are elements of their own.
void writeRun(QXmlStreamWriter& xml, const QTextCharFormat& format, QStringView text)
{
    xml.writeStartElement(QStringLiteral("w:r"));
    writeRunProperties(xml, format);
    QString pending;
    const auto flush = [&] {
        if (pending.isEmpty())
            return;
        xml.writeStartElement(QStringLiteral("w:t"));
        xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        xml.writeCharacters(pending);
        xml.writeEndElement();
        pending.clear();
    };
    for (const QChar c : text) {
        if (c == QLatin1Char('\t')) {
            flush();
            xml.writeEmptyElement(QStringLiteral("w:tab"));
        } else if (c == QChar::LineSeparator || c == QLatin1Char('\n')) {
            flush();
            xml.writeEmptyElement(QStringLiteral("w:br"));
        } else if (c != QChar::ObjectReplacementCharacter && isXmlCharacter(c)) {
            pending += c;
        }
    }
    flush();
    xml.writeEndElement();
}

QString alignmentOf(Qt::Alignment alignment)
{
    switch (alignment & Qt::AlignHorizontal_Mask) {
    case Qt::AlignHCenter:
        return QStringLiteral("center");
    case Qt::AlignRight:
        return QStringLiteral("right");
    case Qt::AlignJustify:
        return QStringLiteral("both");
    default:
        return QString();
    }
}

struct ListNumbers {
    QHash<const QTextList*, int> ids; // numbering ids from 1, one per list
    QList<QTextListFormat::Style> styles;

    int idOf(const QTextList* list)
    {
        auto found = ids.constFind(list);
        if (found != ids.constEnd())
            return *found;
        styles.append(list->format().style());
        return *ids.insert(list, int(styles.size()));
    }
};

void writeParagraph(QXmlStreamWriter& xml, const QTextBlock& block, ListNumbers& lists)
{
    xml.writeStartElement(QStringLiteral("w:p"));
    const QString alignment = alignmentOf(block.blockFormat().alignment());
    const QTextList* list = block.textList();
    if (list || !alignment.isEmpty()) {
        xml.writeStartElement(QStringLiteral("w:pPr"));
        if (list) {
            xml.writeStartElement(QStringLiteral("w:numPr"));
            writeValue(
                xml, QStringLiteral("w:ilvl"),
                QString::number(std::clamp(list->format().indent() - 1, 0, kListLevels - 1)));
            writeValue(xml, QStringLiteral("w:numId"), QString::number(lists.idOf(list)));
            xml.writeEndElement();
        }
        if (!alignment.isEmpty())
            writeValue(xml, QStringLiteral("w:jc"), alignment);
        xml.writeEndElement();
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.isValid())
            writeRun(xml, fragment.charFormat(), fragment.text());
    }
    xml.writeEndElement();
}

void startPart(QXmlStreamWriter& xml, const QString& root)
{
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeNamespace(kMain, QStringLiteral("w"));
    xml.writeStartElement(kMain, root);
}

QByteArray documentPart(const QTextDocument& document, ListNumbers& lists)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    startPart(xml, QStringLiteral("document"));
    xml.writeNamespace(kRelationships, QStringLiteral("r"));
    xml.writeStartElement(QStringLiteral("w:body"));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        writeParagraph(xml, block, lists);
    xml.writeEndDocument();
    return bytes;
}

// The document's default font, for every run that names none.
QByteArray stylesPart(const QTextDocument& document)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    startPart(xml, QStringLiteral("styles"));
    xml.writeStartElement(QStringLiteral("w:docDefaults"));
    xml.writeStartElement(QStringLiteral("w:rPrDefault"));
    xml.writeStartElement(QStringLiteral("w:rPr"));
    const QFont font = document.defaultFont();
    writeFonts(xml, font.family());
    if (font.pointSizeF() > 0)
        writeValue(xml, QStringLiteral("w:sz"),
                   QString::number(std::lround(font.pointSizeF() * 2)));
    xml.writeEndDocument();
    return bytes;
}

struct NumberStyle {
    QString format;
    QString text; // with %1 for the level's number
};

NumberStyle numberStyleOf(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListCircle:
        return {QStringLiteral("bullet"), QString(QChar(0x25E6))};
    case QTextListFormat::ListSquare:
        return {QStringLiteral("bullet"), QString(QChar(0x25AA))};
    case QTextListFormat::ListDecimal:
        return {QStringLiteral("decimal"), QStringLiteral("%%1.")};
    case QTextListFormat::ListLowerAlpha:
        return {QStringLiteral("lowerLetter"), QStringLiteral("%%1.")};
    case QTextListFormat::ListUpperAlpha:
        return {QStringLiteral("upperLetter"), QStringLiteral("%%1.")};
    case QTextListFormat::ListLowerRoman:
        return {QStringLiteral("lowerRoman"), QStringLiteral("%%1.")};
    case QTextListFormat::ListUpperRoman:
        return {QStringLiteral("upperRoman"), QStringLiteral("%%1.")};
    default:
        return {QStringLiteral("bullet"), QString(QChar(0x2022))};
    }
}

// One numbering per list, so that each numbered list counts from 1.
QByteArray numberingPart(const ListNumbers& lists)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    startPart(xml, QStringLiteral("numbering"));
    for (qsizetype i = 0; i < lists.styles.size(); ++i) {
        const NumberStyle style = numberStyleOf(lists.styles[i]);
        xml.writeStartElement(QStringLiteral("w:abstractNum"));
        xml.writeAttribute(QStringLiteral("w:abstractNumId"), QString::number(i + 1));
        for (int level = 0; level < kListLevels; ++level) {
            xml.writeStartElement(QStringLiteral("w:lvl"));
            xml.writeAttribute(QStringLiteral("w:ilvl"), QString::number(level));
            writeValue(xml, QStringLiteral("w:start"), QStringLiteral("1"));
            writeValue(xml, QStringLiteral("w:numFmt"), style.format);
            writeValue(xml, QStringLiteral("w:lvlText"),
                       style.text.contains(QLatin1String("%1")) ? style.text.arg(level + 1)
                                                                : style.text);
            writeValue(xml, QStringLiteral("w:lvlJc"), QStringLiteral("left"));
            xml.writeStartElement(QStringLiteral("w:pPr"));
            xml.writeEmptyElement(QStringLiteral("w:ind"));
            xml.writeAttribute(QStringLiteral("w:left"),
                               QString::number(kTwipsPerLevel * (level + 1)));
            xml.writeAttribute(QStringLiteral("w:hanging"), QString::number(kTwipsPerLevel / 2));
            xml.writeEndElement();
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    for (qsizetype i = 0; i < lists.styles.size(); ++i) {
        xml.writeStartElement(QStringLiteral("w:num"));
        xml.writeAttribute(QStringLiteral("w:numId"), QString::number(i + 1));
        writeValue(xml, QStringLiteral("w:abstractNumId"), QString::number(i + 1));
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return bytes;
}

} // namespace

std::optional<QByteArray> write(const QTextDocument& document, QString* error)
{
    ListNumbers lists;
    const QByteArray body = documentPart(document, lists);
    ZipArchive zip;
    // The content types come first, where readers look for them.
    const bool packed =
        zip.add(QStringLiteral("[Content_Types].xml"), QByteArray(kContentTypes), error) &&
        zip.add(QStringLiteral("_rels/.rels"), QByteArray(kPackageRelationships), error) &&
        zip.add(QStringLiteral("word/document.xml"), body, error) &&
        zip.add(QStringLiteral("word/styles.xml"), stylesPart(document), error) &&
        zip.add(QStringLiteral("word/numbering.xml"), numberingPart(lists), error) &&
        zip.add(QStringLiteral("word/_rels/document.xml.rels"), QByteArray(kDocumentRelationships),
                error);
    if (!packed)
        return std::nullopt;
    return zip.finish();
}

} // namespace DocxWriter
