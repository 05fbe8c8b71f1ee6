#pragma once

#include "rtf/RtfReaderState.h"

#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <vector>

class QTextList;
class RtfTables;

// Puts what the reader finds into a document through a cursor: one insertion per run of equal
// formatting, a block per paragraph, and list items that follow each other in one list.
// A paragraph mark is inserted only when something follows it, so the last \par of a file ends
// its paragraph without opening an empty one.
//
// Inserting into text, a paragraph takes its format from the RTF only when its mark is part of
// the RTF, as in word processors: the last pasted paragraph, which runs on into the text after
// the cursor, keeps the format of the paragraph it was pasted into.
class RtfDocumentBuilder {
public:
    RtfDocumentBuilder(QTextCursor& cursor, const RtfTables& tables, bool inserting);

    // The run to append text with these properties to.
    QString& textFor(const RtfCharProps& props)
    {
        if (m_breakPending || !(props == m_runProps))
            startRun(props);
        return m_run;
    }

    void endParagraph(const RtfParaProps& props);
    // Ends the document: the last paragraph takes these properties unless a \par ended it.
    void finish(const RtfParaProps& props);

    // The tables changed: formats made from them are stale.
    void forgetFormats();

private:
    void startRun(const RtfCharProps& props);
    void flushRun();
    const QTextCharFormat& format(const RtfCharProps& props);
    void formatBlock(const RtfParaProps& props);
    void placeInList(const RtfParaProps& props);
    QTextList* createList(QTextListFormat::Style style, int level);

    QTextCursor& m_cursor;
    const RtfTables& m_tables;
    QString m_run;
    RtfCharProps m_runProps;
    bool m_breakPending = false;
    const bool m_inserting;
    RtfParaProps m_endedParagraph;        // inserting: applied once its mark is inserted
    QTextBlockFormat m_insertionFormat;   // inserting: the format of the paragraph pasted into
    int m_blockAlignment = Qt::AlignLeft; // as the current block was made

    struct CachedFormat {
        RtfCharProps props;
        QTextCharFormat format;
    };
    std::vector<CachedFormat> m_formats;
    size_t m_nextFormatSlot = 0;

    // The lists of the run of list paragraphs just before, by list and level, so that an item
    // after a nested one goes back into its own list.
    struct OpenList {
        RtfListSource source;
        int listOverride;
        int level;
        QTextList* list;
    };
    std::vector<OpenList> m_openLists;
};
