#include "rtf/RtfReader.h"

#include <QTextCursor>
#include <QTextDocument>

// Placeholder until the reader lands.
namespace RtfReader {

bool isRtf(const QByteArray& data)
{
    return data.startsWith("{\\rtf");
}

void read(const QByteArray& rtf, QTextDocument* document)
{
    document->setPlainText(QString::fromUtf8(rtf));
}

void insert(const QByteArray& rtf, QTextCursor& cursor)
{
    cursor.insertText(QString::fromUtf8(rtf));
}

} // namespace RtfReader
