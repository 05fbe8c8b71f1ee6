#pragma once

#include <QByteArray>
#include <QString>

// A zip archive built in memory, each file deflated: what office documents are packed in.
// No zip64: an archive stays below 4 GB, far beyond any transcript.
class ZipArchive {
public:
    // Returns false with the reason when the file cannot be packed.
    [[nodiscard]] bool add(const QString& name, const QByteArray& contents,
                           QString* error = nullptr);
    // The archive's bytes, with its central directory; nothing can be added after.
    QByteArray finish();

private:
    QByteArray m_data;
    QByteArray m_directory;
    quint16 m_count = 0;
};
