#include "rtf/RtfWriter.h"

#include <QTextCursor>
#include <QTextDocument>

// Placeholder until the writer lands.
namespace RtfWriter {

QByteArray write(const QTextDocument& document)
{
    return document.toPlainText().toUtf8();
}

QByteArray writeSelection(const QTextCursor& cursor)
{
    return cursor.selectedText().toUtf8();
}

} // namespace RtfWriter
