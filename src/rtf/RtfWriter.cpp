#include "rtf/RtfWriter.h"

#include "rtf/RtfDocumentWriter.h"

#include <QTextCursor>
#include <QTextDocument>

namespace RtfWriter {

QByteArray write(const QTextDocument& document)
{
    return RtfDocumentWriter(document).write(0, document.characterCount() - 1);
}

QByteArray writeSelection(const QTextCursor& cursor)
{
    const QTextDocument* document = cursor.document();
    if (!document) {
        const QTextDocument empty;
        return RtfDocumentWriter(empty).write(0, 0);
    }
    return RtfDocumentWriter(*document).write(cursor.selectionStart(), cursor.selectionEnd());
}

} // namespace RtfWriter
