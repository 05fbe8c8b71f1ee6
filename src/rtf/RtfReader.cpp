#include "rtf/RtfReader.h"

#include "rtf/RtfParser.h"

#include <QTextCursor>
#include <QTextDocument>

namespace RtfReader {

bool isRtf(const QByteArray& data)
{
    return data.startsWith("{\\rtf");
}

bool read(const QByteArray& rtf, QTextDocument* document, const ReadProgress& progress)
{
    // Small enough that a piece of the densest RTF takes a few tens of milliseconds.
    constexpr qsizetype kPieceBytes = 32 * 1024;
    // The undo stack would keep a second copy of everything read.
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    RtfParser parser(rtf, cursor, false);
    bool whole = true;
    if (progress) {
        while (!parser.runFor(kPieceBytes)) {
            if (!progress(parser.bytesRead())) {
                whole = false;
                break;
            }
        }
    } else {
        parser.run();
    }
    cursor.endEditBlock();
    document->setUndoRedoEnabled(undo);
    return whole;
}

void insert(const QByteArray& rtf, QTextCursor& cursor)
{
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    RtfParser(rtf, cursor, true).run();
    cursor.endEditBlock();
}

} // namespace RtfReader
