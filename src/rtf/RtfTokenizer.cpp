#include "rtf/RtfTokenizer.h"

#include <algorithm>
#include <array>
#include <climits>

namespace {

constexpr bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes that end a run of text.
constexpr std::array<bool, 256> kStopsText = [] {
    std::array<bool, 256> stops{};
    stops[static_cast<unsigned char>('\\')] = true;
    stops[static_cast<unsigned char>('{')] = true;
    stops[static_cast<unsigned char>('}')] = true;
    stops[static_cast<unsigned char>('\r')] = true;
    stops[static_cast<unsigned char>('\n')] = true;
    return stops;
}();

} // namespace

RtfTokenizer::RtfTokenizer(QByteArrayView data)
    : m_pos(data.data()), m_end(data.data() + data.size())
{
}

RtfTokenizer::Token RtfTokenizer::next()
{
    while (m_pos < m_end) {
        const char c = *m_pos;
        switch (c) {
        case '{':
            ++m_pos;
            return {Kind::GroupStart, {}};
        case '}':
            ++m_pos;
            return {Kind::GroupEnd, {}};
        case '\r':
        case '\n':
            ++m_pos;
            continue;
        case '\\': {
            Token token = controlToken();
            if (token.kind != Kind::End)
                return token;
            continue; // a broken \'h, or a backslash at the end
        }
        default: {
            const char* start = m_pos;
            while (m_pos < m_end && !kStopsText[static_cast<unsigned char>(*m_pos)])
                ++m_pos;
            return {Kind::Text, std::string_view(start, size_t(m_pos - start))};
        }
        }
    }
    return {};
}

RtfTokenizer::Token RtfTokenizer::controlToken()
{
    ++m_pos; // the backslash
    if (m_pos == m_end)
        return {};
    const char c = *m_pos;
    if (isLetter(c)) {
        const char* start = m_pos;
        while (m_pos < m_end && isLetter(*m_pos))
            ++m_pos;
        Token token{Kind::Word, std::string_view(start, size_t(m_pos - start))};
        const bool negative = m_pos + 1 < m_end && *m_pos == '-' && isDigit(m_pos[1]);
        if (negative)
            ++m_pos;
        if (m_pos < m_end && isDigit(*m_pos)) {
            long long value = 0;
            for (; m_pos < m_end && isDigit(*m_pos); ++m_pos) {
                if (value <= INT_MAX)
                    value = value * 10 + (*m_pos - '0');
            }
            value = std::min<long long>(value, INT_MAX);
            token.param = int(negative ? -value : value);
            token.hasParam = true;
        }
        if (m_pos < m_end && *m_pos == ' ')
            ++m_pos;
        return token;
    }
    ++m_pos;
    if (c == '\r' || c == '\n')
        return {Kind::Word, "par"};
    if (c == '\'') {
        // A broken \'h loses its one digit; what follows it is read as usual.
        const int high = m_pos < m_end ? hexValue(*m_pos) : -1;
        if (high < 0)
            return {};
        ++m_pos;
        const int low = m_pos < m_end ? hexValue(*m_pos) : -1;
        if (low < 0)
            return {};
        ++m_pos;
        return {Kind::HexByte, {}, 0, false, static_cast<unsigned char>(high * 16 + low)};
    }
    return {Kind::Symbol, {}, 0, false, static_cast<unsigned char>(c)};
}

bool RtfTokenizer::atControlWord() const
{
    const char* pos = m_pos;
    while (pos < m_end && (*pos == '\r' || *pos == '\n'))
        ++pos;
    return m_end - pos >= 2 && pos[0] == '\\' && isLetter(pos[1]);
}

void RtfTokenizer::skipBytes(qint64 count)
{
    if (count > 0)
        m_pos += std::min<qint64>(count, m_end - m_pos);
}
