#pragma once

#include <QByteArrayView>
#include <string_view>

// Splits RTF into group marks, control words and symbols, \'hh bytes and runs of text. Line
// breaks in the input mean nothing and are dropped, except after a backslash, where they stand
// for \par. Numbers too large for an int are clamped; nothing is read past the end.
class RtfTokenizer {
public:
    enum class Kind : unsigned char { End, GroupStart, GroupEnd, Word, Symbol, HexByte, Text };

    struct Token {
        Kind kind = Kind::End;
        std::string_view text; // the word's letters, or the run of text
        int param = 0;
        bool hasParam = false;
        unsigned char symbol = 0; // the control symbol, or the byte of \'hh
    };

    explicit RtfTokenizer(QByteArrayView data);

    Token next();

    // Whether a control word comes next, after any line breaks.
    bool atControlWord() const;

    // Passes over raw bytes, as \binN asks; stops at the end.
    void skipBytes(qint64 count);

    // The bytes not read yet.
    qsizetype remaining() const { return m_end - m_pos; }

private:
    Token controlToken();

    const char* m_pos;
    const char* m_end;
};
