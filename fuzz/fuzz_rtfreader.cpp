// Reads any bytes as RTF, writes the document and reads that back, and pastes the bytes into the
// document. Crashes, hangs and leaks are libFuzzer's to find; the one thing checked here is that
// what the writer wrote reads back to a document the writer writes the same way.

#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void readWriteAndPaste(const QByteArray& rtf)
{
    QTextDocument document;
    RtfReader::read(rtf, &document);
    const QByteArray written = RtfWriter::write(document);
    QTextDocument copy;
    RtfReader::read(written, &copy);
    const QByteArray rewritten = RtfWriter::write(copy);
    if (rewritten != written) {
        std::fprintf(stderr,
                     "The written RTF does not read back the same.\nFirst:\n%s\nThen:\n%s\n",
                     written.constData(), rewritten.constData());
        std::abort();
    }
    QTextCursor cursor(&document);
    cursor.setPosition(document.characterCount() / 2);
    RtfReader::insert(rtf, cursor);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    // Qt's caches (fonts, codecs) fill on first use and are kept: fill them before the leak
    // checks start counting.
    readWriteAndPaste("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 A;}}\\f0 \\'c0\\u1055?\\par}");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    readWriteAndPaste(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
