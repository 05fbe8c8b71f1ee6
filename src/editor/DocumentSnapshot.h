#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QTextFormat>
#include <QTextListFormat>
#include <memory>
#include <vector>

class QTextDocument;

// A copy of a document's text, formats and lists taken in about a millisecond per megabyte, so
// that the GUI thread can hand a transcript to another thread to be encoded and written.
// QTextDocument::clone() takes a hundred times longer. The copy shares nothing with the document:
// formats are copied deeply, as Qt's formats cache values lazily and must not be read from two
// threads at once.
class DocumentSnapshot {
public:
    DocumentSnapshot() = default;
    static DocumentSnapshot take(const QTextDocument& document);

    // A new document with the same text, character and paragraph formats and lists. Safe on any
    // thread.
    std::unique_ptr<QTextDocument> rebuild() const;

    // The text as the document holds it, paragraphs ended by U+2029.
    const QString& rawText() const { return m_text; }

private:
    struct Paragraph {
        int position = 0;
        int blockFormat = 0;
        int charFormat = 0;
        int list = -1; // index into m_lists, -1 outside a list
        int firstRun = 0;
    };
    struct Run {
        int position = 0;
        int length = 0;
        int format = 0;
    };

    QString m_text;
    QFont m_defaultFont;
    QList<QTextFormat> m_formats; // by the document's format index
    std::vector<QTextListFormat> m_lists;
    std::vector<Paragraph> m_paragraphs;
    std::vector<Run> m_runs;
};
