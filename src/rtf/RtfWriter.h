#pragma once

#include <QByteArray>

class QTextCursor;
class QTextDocument;

// Writes compact RTF that RtfReader reads back to the same text and formatting and that word
// processors open alike: fonts, sizes, bold, italic, underline, strike, colours, highlight,
// alignment and bullets. Every character outside ASCII is written as \uN with an ANSI fallback.
namespace RtfWriter {

QByteArray write(const QTextDocument& document);

// The cursor's selection alone, as a document of its own.
QByteArray writeSelection(const QTextCursor& cursor);

} // namespace RtfWriter
