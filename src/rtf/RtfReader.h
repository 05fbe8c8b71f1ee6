#pragma once

#include <QByteArray>
#include <functional>

class QTextCursor;
class QTextDocument;

// Reads RTF as word processors and simple editors write it. Broken input (unbalanced braces, a
// truncated file, unknown control words, deep nesting) gives what could be read; it never fails.
namespace RtfReader {

// True when the bytes begin with "{\rtf", the mark of a rich text file.
bool isRtf(const QByteArray& data);

// Asked between pieces of a reading with the bytes read so far; the reading stops when it
// answers false.
using ReadProgress = std::function<bool(qsizetype bytesRead)>;

// Replaces the document's content with the RTF, leaving nothing to undo. Meant for a document
// that is not shown: filling a shown one lays out every insertion. False when `progress`
// stopped it, the document then holding what was read so far.
bool read(const QByteArray& rtf, QTextDocument* document, const ReadProgress& progress = {});

// Inserts the RTF at the cursor, replacing its selection, with its formatting, as one step to
// undo; the cursor ends after the inserted text. A paragraph takes the RTF's paragraph format
// when its mark is part of the RTF; the last one, which runs on into the text after the cursor,
// keeps the format of the paragraph it went into.
void insert(const QByteArray& rtf, QTextCursor& cursor);

} // namespace RtfReader
