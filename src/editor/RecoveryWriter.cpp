#include "editor/RecoveryWriter.h"

#include "core/Logging.h"
#include "editor/RecoveryStore.h"
#include "rtf/RtfWriter.h"

#include <QTextDocument>
#include <memory>

RecoveryWriter::RecoveryWriter(const RecoveryStore& store, QObject* parent)
    : QObject(parent), m_store(store)
{
    m_pool.setMaxThreadCount(1);
    m_pool.setObjectName(QStringLiteral("recoveryWriter"));
}

RecoveryWriter::~RecoveryWriter()
{
    waitForDone();
}

void RecoveryWriter::write(DocumentSnapshot snapshot, const RecoveryRecord& record)
{
    const quint64 generation = ++m_latest;
    auto taken = std::make_shared<const DocumentSnapshot>(std::move(snapshot));
    m_pool.start([this, generation, taken, record] {
        if (m_latest.load() != generation)
            return;
        const std::unique_ptr<QTextDocument> document = taken->rebuild();
        QString error;
        if (!m_store.write(RtfWriter::write(*document), record, &error))
            reportFailure(m_store.copyPath(), error);
    });
}

void RecoveryWriter::remove()
{
    ++m_latest;
    m_pool.start([this] {
        QString error;
        if (!m_store.remove(&error))
            reportFailure(m_store.copyPath(), error);
    });
}

void RecoveryWriter::waitForDone()
{
    m_pool.waitForDone();
}

void RecoveryWriter::reportFailure(const QString& path, const QString& reason)
{
    qCWarning(lcEditor).noquote() << "Recovery copy:" << path << reason;
    QMetaObject::invokeMethod(
        this, [this, path, reason] { Q_EMIT failed(path, reason); }, Qt::QueuedConnection);
}
