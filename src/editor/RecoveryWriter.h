#pragma once

#include "editor/DocumentSnapshot.h"
#include "editor/RecoveryRecord.h"

#include <QObject>
#include <QThreadPool>
#include <atomic>

class RecoveryStore;

// Encodes and writes recovery copies on a thread of its own, one after the other in the order
// they were asked for, so that typing never waits for a disk.
class RecoveryWriter : public QObject {
    Q_OBJECT
public:
    explicit RecoveryWriter(const RecoveryStore& store, QObject* parent = nullptr);
    // Finishes what was asked first: a copy asked for is on the disk when the program ends.
    ~RecoveryWriter() override;

    // Writes the snapshot as RTF with its record. A write that has not started when a newer
    // write or a removal is asked for is dropped.
    void write(DocumentSnapshot snapshot, const RecoveryRecord& record);
    void remove();
    // Blocks until everything asked for is done.
    void waitForDone();

Q_SIGNALS:
    // On the thread that owns the writer.
    void failed(const QString& path, const QString& reason);

private:
    void reportFailure(const QString& path, const QString& reason);

    const RecoveryStore& m_store;
    QThreadPool m_pool;
    std::atomic<quint64> m_latest{0};
};
