#include "recorder/WavWriter.h"

#include "recorder/RecorderLogging.h"
#include "recorder/WavHeader.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

WavWriter::~WavWriter()
{
    finishQuietly();
}

void WavWriter::finishQuietly()
{
    QString error;
    if (isOpen() && !finish(&error))
        qCWarning(lcRecorder).noquote() << "Recording not finished:" << error;
}

bool WavWriter::fail(QString* error)
{
    if (error)
        *error = m_file.errorString();
    return false;
}

bool WavWriter::open(const QString& path, const PcmFormat& format, QString* error)
{
    finishQuietly();
    m_format = format;
    m_dataSize = 0;
    m_file.setFileName(path);
    // Unbuffered: each buffer goes straight to the system, and a failure comes with its reason.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return fail(error);
    // On the disk at once: from now on the file is a playable, if empty, recording.
    if (m_file.write(WavHeader::build(format, 0)) != WavHeader::kSize || !updateHeader(error)) {
        if (m_file.error() != QFileDevice::NoError)
            fail(error);
        m_file.close();
        return false;
    }
    return true;
}

bool WavWriter::append(const QByteArray& sound, QString* error)
{
    if (m_dataSize + sound.size() > WavHeader::kLargestDataSize) {
        if (error)
            *error = QStringLiteral("A WAV file cannot hold more than 4 GB of sound.");
        return false;
    }
    // A short write is followed by another, which fails with the system's reason.
    for (qint64 done = 0; done < sound.size();) {
        const qint64 written = m_file.write(sound.constData() + done, sound.size() - done);
        if (written <= 0)
            return fail(error);
        done += written;
        m_dataSize += written;
    }
    return true;
}

bool WavWriter::updateHeader(QString* error)
{
    if (!m_file.flush())
        return fail(error);
    const qint64 end = m_file.pos();
    if (!m_file.seek(0) ||
        m_file.write(WavHeader::build(m_format, quint32(m_dataSize))) != WavHeader::kSize ||
        !m_file.seek(end) || !m_file.flush())
        return fail(error);
    // A power cut then loses at most the sound since this update.
    // Files that cannot be synchronised (a pipe, a special file) need not be.
    if (::fdatasync(m_file.handle()) != 0 && errno != EINVAL && errno != EROFS) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

bool WavWriter::finish(QString* error)
{
    if (!isOpen())
        return true;
    const bool ok = updateHeader(error);
    m_file.close();
    return ok;
}
