#pragma once

#include <QByteArray>
#include <QStringView>

// Appends RTF: control words, group marks and text. Text is escaped, and every character outside
// ASCII becomes \uN with its byte in code page 1252 as the fallback (a question mark where there is
// none), as \uc1 promises.
class RtfOutput {
public:
    void word(const char* name);
    void word(const char* name, int param);
    // Verbatim: braces, semicolons, line breaks, \'hh.
    void raw(const char* text);
    void text(QStringView text);

    void reserve(qsizetype size) { m_bytes.reserve(size); }
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    bool m_afterWord = false; // a control word came last: text must not run on into it
};
