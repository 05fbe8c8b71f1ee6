#pragma once

#include <QSaveFile>
#include <cerrno>

inline QString noSpace()
{
    return qt_error_string(ENOSPC);
}

// A save file on a disk with `room` bytes left. An honest one writes what fits and says so, and
// fails with the system's reason once nothing fits, as the kernel does; a lying one claims every
// byte, as a buffered write does until its flush.
class ShortOfSpaceFile : public QSaveFile {
public:
    ShortOfSpaceFile(const QString& path, qint64 room, bool honest)
        : QSaveFile(path), m_room(room), m_honest(honest)
    {
    }

protected:
    qint64 writeData(const char* data, qint64 len) override
    {
        const qint64 fits = std::min(len, m_room);
        if (fits <= 0 && m_honest) {
            setErrorString(noSpace());
            return -1;
        }
        const qint64 written = fits > 0 ? QSaveFile::writeData(data, fits) : 0;
        m_room -= written;
        return m_honest ? written : len;
    }

private:
    qint64 m_room;
    bool m_honest;
};
