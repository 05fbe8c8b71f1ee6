#pragma once

#include "bookmarks/BookmarkFile.h"

#include <QString>
#include <QStringList>

// The bookmarks of the current recording, in the bookmark window's order, and what their file
// holds. There is no limit on their number: every record read or added is kept and written. Only
// a file larger than the read limit is read in part, and then never rewritten.
class BookmarkTable {
public:
    // Why save() left the file as it was.
    enum class SaveFailure {
        None,
        // The write or removal failed, or the recording has no file name.
        CannotWrite,
        // The file was larger than the table reads (readLimit), so the table holds only its
        // first part; rewriting the file would cut it.
        FileNotReadWhole,
        // The file exists but could not be read, when the table was loaded and again now:
        // replacing it would lose the bookmarks it holds.
        FileNotRead,
    };

    explicit BookmarkTable(qint64 readLimit = BookmarkFile::kReadLimit) : m_readLimit(readLimit) {}

    const QStringList& records() const { return m_records; }
    bool isEmpty() const { return m_records.isEmpty(); }
    qsizetype size() const { return m_records.size(); }
    // The file these records were read from or last written to ("" when none).
    QString file() const { return m_file; }
    // False when file() was larger than the table reads: the records are only its first part.
    bool readWhole() const { return m_readWhole; }

    // Forgets the records and their file, before another recording's bookmarks come.
    void clear();
    // The bookmark window's records after the user changed them (or as it unloads).
    void setRecords(const QStringList& records);

    // Replaces the records with those of the file. A file that does not exist or cannot be read
    // leaves the table empty; the file is remembered either way. Returns whether it was read;
    // when it was not, `error` receives the system's reason (none for an empty path).
    [[nodiscard]] bool load(const QString& filePath, QString* error = nullptr);

    // Brings the file up to date with the table:
    // - records the file does not hold yet are written (atomically, in table order);
    // - a file whose content is unchanged is left alone, exactly as it is on disk;
    // - when the user removed every bookmark that this file holds, the file is removed, so that
    //   the deleted bookmarks do not come back;
    // - an empty table writes nothing;
    // - a file that was not read whole is never rewritten or removed;
    // - a file that existed but could not be read is read again first: if it now reads, its
    //   records come first and the table's new ones follow; if not, it is left alone.
    // Returns false, with the reason in `error` and its kind in `failure`, when a needed write or
    // removal failed or was refused; the table then still holds its records and a later save
    // tries again.
    [[nodiscard]] bool save(const QString& filePath, QString* error = nullptr,
                            SaveFailure* failure = nullptr);

private:
    // Reads m_file, which could not be read at load time, and puts its records in front of the
    // table's. False, with the reason, while it still cannot be read.
    [[nodiscard]] bool readAgain(QString* error);

    qint64 m_readLimit;
    QStringList m_records;
    QString m_file;
    // What m_file holds as far as this table knows.
    QStringList m_onDisk;
    bool m_readWhole = true;
    // m_file existed but could not be read: the table does not know what it holds.
    bool m_unread = false;
};
