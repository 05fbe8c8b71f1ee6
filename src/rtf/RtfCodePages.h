#pragma once

#include <QString>
#include <QStringDecoder>
#include <map>
#include <memory>
#include <string_view>

namespace RtfCodePages {

// Windows' number for the Symbol font's own encoding.
constexpr int Symbol = 42;

// The code page of a font's \fcharset; 0 for the document's own (\ansicpg).
int forCharset(int charset);

// Whether a character of the code page may take more than one byte.
bool isMultiByte(int codePage);

} // namespace RtfCodePages

// Turns the bytes of one code page into text. Single-byte pages go through a table made once
// from Qt's codec; multi-byte pages (932, 936, 949, 950) go through the codec itself, so their
// bytes must be handed over a whole run at a time. Control characters other than tab are
// dropped: they would break the document's text.
class RtfByteDecoder {
public:
    explicit RtfByteDecoder(int codePage);

    bool isMultiByte() const { return m_multiByte; }
    bool isSymbol() const { return m_symbol; }

    void decode(std::string_view bytes, QString& out) const;

    // One byte of a single-byte page; 0 when it stands for nothing.
    char16_t character(unsigned char byte) const { return m_table[byte]; }

private:
    bool m_multiByte = false;
    bool m_symbol = false;
    char16_t m_table[256] = {};
    mutable QStringDecoder m_codec;
};

// The decoders of the code pages a document uses, made as they are first asked for.
class RtfByteDecoders {
public:
    const RtfByteDecoder& forCodePage(int codePage);

private:
    std::map<int, std::unique_ptr<RtfByteDecoder>> m_decoders;
};

namespace RtfCodePages {

// The byte of code page 1252 for a character, or -1 when it has none.
int windows1252Byte(char16_t c);

} // namespace RtfCodePages
