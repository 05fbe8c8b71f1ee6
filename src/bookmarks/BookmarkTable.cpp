#include "bookmarks/BookmarkTable.h"

#include "bookmarks/BookmarkFile.h"

#include <QFile>
#include <QFileInfo>

void BookmarkTable::clear()
{
    m_records.clear();
    m_file.clear();
    m_onDisk.clear();
    m_readWhole = true;
    m_unread = false;
}

void BookmarkTable::setRecords(const QStringList& records)
{
    m_records = records;
}

bool BookmarkTable::load(const QString& filePath, QString* error)
{
    clear();
    m_file = filePath;
    if (filePath.isEmpty())
        return false;
    bool whole = true;
    auto records = BookmarkFile::read(filePath, error, &whole, m_readLimit);
    if (!records) {
        m_unread = QFileInfo::exists(filePath);
        return false;
    }
    m_records = std::move(*records);
    m_onDisk = m_records;
    m_readWhole = whole;
    return true;
}

bool BookmarkTable::save(const QString& filePath, QString* error, SaveFailure* failure)
{
    if (failure)
        *failure = SaveFailure::None;
    const auto refuse = [&](SaveFailure kind, const QString& reason) {
        if (failure)
            *failure = kind;
        if (error)
            *error = reason;
        return false;
    };
    if (filePath.isEmpty()) {
        if (m_records.isEmpty())
            return true;
        return refuse(SaveFailure::CannotWrite, QStringLiteral("the recording has no file name"));
    }
    const bool sameFile = filePath == m_file;
    if (sameFile && m_unread && !m_records.isEmpty()) {
        QString reason;
        if (!readAgain(&reason))
            return refuse(SaveFailure::FileNotRead, reason);
    }
    if (sameFile && !m_readWhole && m_records != m_onDisk)
        return refuse(SaveFailure::FileNotReadWhole,
                      QStringLiteral("the file is larger than %1 bytes and was read only that far")
                          .arg(m_readLimit));
    if (m_records.isEmpty()) {
        // Only a file whose bookmarks this table held and the user removed; a file never read
        // (another recording's, or one that failed to load) is never touched.
        if (!sameFile || m_onDisk.isEmpty() || !QFileInfo::exists(filePath))
            return true;
        QFile file(filePath);
        if (!file.remove())
            return refuse(SaveFailure::CannotWrite, file.errorString());
        m_onDisk.clear();
        return true;
    }
    // Something else in the file's place (a folder) is no copy of the bookmarks.
    if (sameFile && m_records == m_onDisk && QFileInfo(filePath).isFile())
        return true;
    QString reason;
    if (!BookmarkFile::write(filePath, m_records, &reason))
        return refuse(SaveFailure::CannotWrite, reason);
    m_file = filePath;
    m_onDisk = m_records;
    m_readWhole = true;
    return true;
}

bool BookmarkTable::readAgain(QString* error)
{
    if (!QFileInfo::exists(m_file)) {
        m_unread = false;
        return true;
    }
    bool whole = true;
    auto records = BookmarkFile::read(m_file, error, &whole, m_readLimit);
    if (!records)
        return false;
    m_onDisk = *records;
    for (const QString& record : std::as_const(m_records)) {
        if (!records->contains(record))
            records->append(record);
    }
    m_records = std::move(*records);
    m_readWhole = whole;
    m_unread = false;
    return true;
}
