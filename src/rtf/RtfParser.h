#pragma once

#include "rtf/RtfCodePages.h"
#include "rtf/RtfDocumentBuilder.h"
#include "rtf/RtfReaderState.h"
#include "rtf/RtfTables.h"
#include "rtf/RtfTokenizer.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

class QTextCursor;
struct RtfWordInfo;

// Reads RTF into a document through a cursor. Groups live on a stack of their own, never on the
// call stack, and nesting deeper than kMaxDepth shares the deepest state, so no input can
// exhaust memory or recursion. Every byte is looked at a bounded number of times.
class RtfParser {
public:
    static constexpr size_t kMaxDepth = 2000;

    RtfParser(QByteArrayView rtf, QTextCursor& cursor, bool inserting);

    void run();
    // Reads on until about `bytes` more have been read: true when the whole RTF is read.
    bool runFor(qsizetype bytes);
    qsizetype bytesRead() const { return m_size - m_tokenizer.remaining(); }

private:
    // False after the end.
    bool handleNextToken();
    RtfGroupState& state() { return m_stack.back(); }

    void openGroup();
    void closeGroup();
    void handleWord(const RtfTokenizer::Token& token, bool starred);
    void handleSymbol(unsigned char symbol);
    void handleText(std::string_view bytes, bool escaped);
    void appendBytes(std::string_view bytes);
    void appendUnicode(int code);
    void appendCharacter(char32_t c);
    void endSurrogate();
    void flushBytes();
    bool consumeFallback();
    const RtfByteDecoder& decoder();
    void finish();

    void startFont(int number);
    void fontNameBytes(std::string_view bytes, bool escaped);
    void endFontName();
    void addColor();
    void tablesChanged() { ++m_tablesGeneration; }

    RtfTokenizer m_tokenizer;
    const qsizetype m_size;
    bool m_finished = false;
    RtfTables m_tables;
    RtfByteDecoders m_decoders;
    RtfDocumentBuilder m_builder;
    std::vector<RtfGroupState> m_stack;
    size_t m_overflowDepth = 0;
    RtfParaProps m_lastTopLevelPara; // the properties of a last paragraph with no \par
    bool m_haveTopLevelPara = false;
    bool m_starred = false;      // \* came just before
    bool m_atGroupStart = false; // the token before was a group's opening brace
    int m_fallbackToSkip = 0;

    // Bytes of a multi-byte code page wait here until the run they belong to ends.
    QByteArray m_pendingBytes;
    const RtfByteDecoder* m_pendingDecoder = nullptr;
    char16_t m_highSurrogate = 0;

    // The decoder of the last font asked for; the tables' generation tells when it is stale.
    int m_decoderFont = -2;
    RtfCharClass m_decoderClass = RtfCharClass::None;
    int m_decoderGeneration = -1;
    int m_tablesGeneration = 0;
    const RtfByteDecoder* m_decoder = nullptr;

    // The font table entry being read, and its name's bytes.
    int m_font = -1;
    bool m_fontNameOpen = false;
    QByteArray m_fontNameBytes;
    QString m_fontName;

    QString m_levelText; // of the list level being read

    // The colour table entry being read.
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorGiven = false;
};
