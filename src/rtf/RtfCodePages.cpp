#include "rtf/RtfCodePages.h"

#include <QByteArray>
#include <array>

namespace {

QByteArray codecName(int codePage)
{
    switch (codePage) {
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    case 437:
    case 850:
    case 852:
    case 866:
        return "IBM" + QByteArray::number(codePage);
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

bool isControl(char16_t c)
{
    return (c < 0x20 && c != '\t') || (c >= 0x7F && c < 0xA0);
}

// The Symbol font's letters are Greek; its upper half holds mathematical signs and arrows.
void fillSymbolTable(char16_t* table)
{
    const std::u16string_view upper = u"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";
    const std::u16string_view lower = u"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
    for (int i = 0; i < 26; ++i) {
        table['A' + i] = upper[i];
        table['a' + i] = lower[i];
    }
    const std::u16string_view signs = u"\"∀$∃'∋*∗-−@≅\\∴^⊥~∼"
                                      u"\xA1ϒ\xA2′\xA3≤\xA4⁄\xA5∞\xA6ƒ\xA7♣\xA8♦\xA9♥\xAA♠"
                                      u"\xAB↔\xAC←\xAD↑\xAE→\xAF↓\xB2″\xB3≥\xB4×\xB5∝\xB6∂\xB7•"
                                      u"\xB8÷\xB9≠\xBA≡\xBB≈\xBC…\xC0ℵ\xC4⊗\xC5⊕\xC6∅\xC7∩"
                                      u"\xC8∪\xD1∇\xD6√\xD7⋅\xD8¬\xD9∧\xDA∨\xE5∑\xF2∫";
    for (size_t i = 0; i + 1 < signs.size(); i += 2)
        table[signs[i]] = signs[i + 1];
}

} // namespace

namespace RtfCodePages {

bool isMultiByte(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 65001;
}

int forCharset(int charset)
{
    switch (charset) {
    case 2:
        return Symbol;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0;
    }
}

} // namespace RtfCodePages

RtfByteDecoder::RtfByteDecoder(int codePage)
{
    const int base = codePage == RtfCodePages::Symbol ? 1252 : codePage;
    m_codec = QStringDecoder(codecName(base).constData(), QStringDecoder::Flag::Stateless);
    if (!m_codec.isValid())
        m_codec = QStringDecoder(QStringDecoder::Latin1, QStringDecoder::Flag::Stateless);
    m_multiByte = RtfCodePages::isMultiByte(base);
    for (int byte = 0; byte < 128; ++byte)
        m_table[byte] = isControl(char16_t(byte)) ? 0 : char16_t(byte);
    if (!m_multiByte) {
        for (int byte = 128; byte < 256; ++byte) {
            const char raw = char(byte);
            const QString text = m_codec.decode(QByteArrayView(&raw, 1));
            const char16_t c = text.size() == 1 ? text.front().unicode() : 0;
            m_table[byte] = isControl(c) ? 0 : c;
        }
    }
    if (codePage == RtfCodePages::Symbol) {
        m_symbol = true;
        fillSymbolTable(m_table);
    }
}

void RtfByteDecoder::decode(std::string_view bytes, QString& out) const
{
    if (m_multiByte) {
        QString text = m_codec.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
        text.removeIf([](QChar c) { return isControl(c.unicode()); });
        out += text;
        return;
    }
    const qsizetype start = out.size();
    out.resize(start + qsizetype(bytes.size()));
    char16_t* write = reinterpret_cast<char16_t*>(out.data()) + start;
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    for (const char byte : bytes) {
        const char16_t c = m_table[static_cast<unsigned char>(byte)];
        if (c)
            *write++ = c;
    }
    out.resize(write - begin);
}

const RtfByteDecoder& RtfByteDecoders::forCodePage(int codePage)
{
    // Windows' code pages for text, and the few DOS and Mac ones RTF names; any other number is
    // read as 1252, so that no file makes a decoder per number it invents.
    switch (codePage) {
    case RtfCodePages::Symbol:
    case 437:
    case 850:
    case 852:
    case 866:
    case 874:
    case 932:
    case 936:
    case 949:
    case 950:
    case 10000:
    case 65001:
        break;
    default:
        if (codePage < 1250 || codePage > 1258)
            codePage = 1252;
    }
    std::unique_ptr<RtfByteDecoder>& decoder = m_decoders[codePage];
    if (!decoder)
        decoder = std::make_unique<RtfByteDecoder>(codePage);
    return *decoder;
}

namespace RtfCodePages {

int windows1252Byte(char16_t c)
{
    if (c < 0x80)
        return c;
    if (c >= 0xA0 && c <= 0xFF)
        return c; // the same as Latin-1 there
    static const std::array<char16_t, 32> upper = [] {
        const RtfByteDecoder decoder(1252);
        std::array<char16_t, 32> characters{};
        for (int byte = 0x80; byte < 0xA0; ++byte)
            characters[byte - 0x80] = decoder.character((unsigned char)byte);
        return characters;
    }();
    for (int i = 0; i < 32; ++i) {
        if (upper[i] == c && c)
            return 0x80 + i;
    }
    return -1;
}

} // namespace RtfCodePages
