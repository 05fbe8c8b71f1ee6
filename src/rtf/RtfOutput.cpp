#include "rtf/RtfOutput.h"

#include "rtf/RtfCodePages.h"

#include <algorithm>
#include <charconv>

namespace {

bool endsWord(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
           c == '-';
}

// Printable ASCII that RTF does not escape.
bool isPlain(char16_t c)
{
    return c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}';
}

} // namespace

void RtfOutput::word(const char* name)
{
    m_bytes += '\\';
    m_bytes += name;
    m_afterWord = true;
}

void RtfOutput::word(const char* name, int param)
{
    word(name);
    char digits[12];
    const auto written = std::to_chars(digits, digits + sizeof digits, param);
    m_bytes.append(digits, written.ptr - digits);
}

void RtfOutput::raw(const char* text)
{
    m_bytes += text;
    m_afterWord = false;
}

void RtfOutput::text(QStringView text)
{
    const char16_t* next = text.utf16();
    const char16_t* const end = next + text.size();
    while (next < end) {
        // Most of a transcript is printable ASCII that goes out as it is: copy it in one go.
        const char16_t* const plain = next;
        while (next < end && isPlain(*next))
            ++next;
        if (next > plain) {
            if (m_afterWord && endsWord(*plain))
                m_bytes += ' ';
            const qsizetype start = m_bytes.size();
            m_bytes.resize(start + (next - plain));
            std::copy(plain, next, m_bytes.data() + start); // each below 0x80
            m_afterWord = false;
            if (next == end)
                break;
        }
        const char16_t c = *next++;
        if (c < 0x80) {
            if (c == '\\' || c == '{' || c == '}') {
                m_bytes += '\\';
                m_bytes += char(c);
                m_afterWord = false;
            } else if (c == '\t') {
                word("tab");
            }
            continue; // the other control characters are dropped
        }
        switch (c) {
        case QChar::LineSeparator:
            word("line");
            continue;
        case QChar::Nbsp:
            raw("\\~");
            continue;
        case 0x2011: // the non-breaking hyphen
            raw("\\_");
            continue;
        case QChar::ParagraphSeparator:
        case QChar::ObjectReplacementCharacter:
        case 0xFDD0: // the marks of frames and tables
        case 0xFDD1:
            continue;
        default:
            break;
        }
        // RTF numbers are signed 16-bit: 32768 to 65535 are written below zero.
        word("u", c < 0x8000 ? int(c) : int(c) - 0x10000);
        // A question mark where code page 1252 has no byte; written as \'3f, since a plain one
        // right after the number makes pandoc and unrtf drop the character that follows it.
        const int byte = RtfCodePages::windows1252Byte(c);
        const int fallback = byte < 0 ? '?' : byte;
        static constexpr char hex[] = "0123456789abcdef";
        m_bytes += "\\'";
        m_bytes += hex[fallback >> 4];
        m_bytes += hex[fallback & 15];
        m_afterWord = false;
    }
}
