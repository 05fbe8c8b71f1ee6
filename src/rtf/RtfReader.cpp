#include "rtf/RtfReader.h"

#include "rtf/RtfParser.h"

#include <QTextCursor>
#include <QTextDocument>

namespace RtfReader {

bool isRtf(const QByteArray& data)
{
    return data.startsWith("{\\rtf");
}

void read(const QByteArray& rtf, QTextDocument* document)
{
    // The undo stack would keep a second copy of everything read.
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    RtfParser(rtf, cursor, false).run();
    cursor.endEditBlock();
    document->setUndoRedoEnabled(undo);
}

void insert(const QByteArray& rtf, QTextCursor& cursor)
{
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    RtfParser(rtf, cursor, true).run();
    cursor.endEditBlock();
}

} // namespace RtfReader
