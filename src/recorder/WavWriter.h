#pragma once

#include "platform/CaptureDevice.h"

#include <QFile>
#include <QString>

// Writes one WAV file as its sound comes in. The header is written first and brought up to date
// on request, so that the file is playable at any moment, holding the sound up to the last
// update.
class WavWriter {
public:
    ~WavWriter();

    // Creates the file, replacing one of that name, with the header of an empty recording.
    [[nodiscard]] bool open(const QString& path, const PcmFormat& format, QString* error);
    // Adds sound after what was written; refused beyond the largest size a header can state.
    [[nodiscard]] bool append(const QByteArray& sound, QString* error);
    // Writes the sizes of the sound written so far into the header and puts everything on the
    // disk.
    [[nodiscard]] bool updateHeader(QString* error);
    // Updates the header and closes the file.
    [[nodiscard]] bool finish(QString* error);

    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }
    qint64 dataSize() const { return m_dataSize; }

private:
    // A file left open is finished; a failure then has nobody to tell but the log.
    void finishQuietly();
    bool fail(QString* error);

    QFile m_file;
    PcmFormat m_format;
    qint64 m_dataSize = 0;
};
