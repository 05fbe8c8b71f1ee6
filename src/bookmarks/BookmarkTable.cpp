#include "bookmarks/BookmarkTable.h"

#include "bookmarks/BookmarkFile.h"

#include <QFile>
#include <QFileInfo>

void BookmarkTable::clear()
{
    m_records.clear();
    m_file.clear();
    m_onDisk.clear();
}

void BookmarkTable::setRecords(const QStringList& records)
{
    m_records = records;
}

bool BookmarkTable::load(const QString& filePath, QString* error)
{
    m_records.clear();
    m_onDisk.clear();
    m_file = filePath;
    if (filePath.isEmpty())
        return false;
    auto records = BookmarkFile::read(filePath, error);
    if (!records)
        return false;
    m_records = std::move(*records);
    m_onDisk = m_records;
    return true;
}

bool BookmarkTable::save(const QString& filePath, QString* error)
{
    if (filePath.isEmpty()) {
        if (m_records.isEmpty())
            return true;
        if (error)
            *error = QStringLiteral("the recording has no file name");
        return false;
    }
    const bool sameFile = filePath == m_file;
    if (m_records.isEmpty()) {
        // Only a file whose bookmarks this table held and the user removed; a file never read
        // (another recording's, or one that failed to load) is never touched.
        if (!sameFile || m_onDisk.isEmpty() || !QFileInfo::exists(filePath))
            return true;
        QFile file(filePath);
        if (!file.remove()) {
            if (error)
                *error = file.errorString();
            return false;
        }
        m_onDisk.clear();
        return true;
    }
    if (sameFile && m_records == m_onDisk && QFileInfo::exists(filePath))
        return true;
    if (!BookmarkFile::write(filePath, m_records, error))
        return false;
    m_file = filePath;
    m_onDisk = m_records;
    return true;
}
