#pragma once

#include "editor/RecoveryRecord.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

class QLockFile;

// The recovery copy of one running program's transcript in the Recovery folder: "Transcript.rtf"
// and its record "Transcript.ini". A running program holds the copy's lock file for the whole
// run, so a second program on the same folder takes the next free name ("Transcript-2.rtf")
// and never writes over, offers or sets aside a copy that is still in use. The lock of a
// program that is gone is taken over: one that crashed here, and one that cannot be read or
// names another computer once no program here holds it. A name whose copy was left behind is
// taken first, so that each start offers one copy nobody holds.
class RecoveryStore {
public:
    // The folder: <program folder>/Recovery.
    explicit RecoveryStore(QString folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    static constexpr int kMostSlots = 99;

    // Makes the folder and takes a name no running program holds, one with a copy left behind
    // first. False, with the reason, when the folder cannot be used or every name is held.
    [[nodiscard]] bool claim(QString* error = nullptr);
    bool isClaimed() const { return m_lock != nullptr; }

    QString folder() const { return m_folder; }
    QString copyPath() const;
    QString recordPath() const;

    // Whether a copy is there from an earlier run (or from this one).
    bool hasCopy() const;

    struct Contents {
        QByteArray copy;
        RecoveryRecord record;
    };
    // The copy and its record; a record that is missing or damaged reads as the defaults. None
    // when the copy cannot be read, with the reason.
    [[nodiscard]] std::optional<Contents> read(QString* error = nullptr) const;

    // Writes the copy, then its record, each replacing the old one atomically. Any thread.
    [[nodiscard]] bool write(const QByteArray& copy, const RecoveryRecord& record,
                             QString* error = nullptr) const;
    // Removes the copy and its record. Any thread.
    [[nodiscard]] bool remove(QString* error = nullptr) const;
    // Keeps the copy and its record under a name with the date and time they were set aside
    // ("Transcript 2024-05-01 10-22-03.rtf"), so that the next run starts without one. Returns
    // the copy's new path, or "" with the reason.
    [[nodiscard]] QString setAside(const QDateTime& when, QString* error = nullptr);

private:
    QString slotPath(const QString& suffix) const;

    QString m_folder;
    QString m_base; // "Transcript" or "Transcript-2"...
    std::unique_ptr<QLockFile> m_lock;
};
