#include "editor/RecoveryStore.h"

#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace {

const QString kBaseName = QStringLiteral("Transcript");
const QString kCopySuffix = QStringLiteral(".rtf");
const QString kRecordSuffix = QStringLiteral(".ini");
const QString kLockSuffix = QStringLiteral(".lock");

bool removeIfThere(const QString& path, QStringList& failures)
{
    QFile file(path);
    if (!file.exists() || file.remove())
        return true;
    failures << path + QStringLiteral(": ") + file.errorString();
    return false;
}

} // namespace

RecoveryStore::RecoveryStore(QString folder) : m_folder(std::move(folder)) {}

RecoveryStore::~RecoveryStore() = default;

bool RecoveryStore::claim(QString* error)
{
    if (m_lock)
        return true;
    if (!QDir().mkpath(m_folder)) {
        if (error)
            *error = QStringLiteral("Cannot make the folder ") + m_folder;
        return false;
    }
    QString lastFailure;
    for (int slot = 1; slot <= kMostSlots; ++slot) {
        const QString base =
            slot == 1 ? kBaseName : kBaseName + QLatin1Char('-') + QString::number(slot);
        auto lock = std::make_unique<QLockFile>(m_folder + QLatin1Char('/') + base + kLockSuffix);
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_base = base;
            m_lock = std::move(lock);
            return true;
        }
        if (lock->error() != QLockFile::LockFailedError)
            lastFailure = QStringLiteral("Cannot write a lock file in ") + m_folder;
    }
    if (error)
        *error = lastFailure.isEmpty()
                     ? QStringLiteral("Every recovery name is in use in ") + m_folder
                     : lastFailure;
    return false;
}

QString RecoveryStore::slotPath(const QString& suffix) const
{
    return m_folder + QLatin1Char('/') + (m_base.isEmpty() ? kBaseName : m_base) + suffix;
}

QString RecoveryStore::copyPath() const
{
    return slotPath(kCopySuffix);
}

QString RecoveryStore::recordPath() const
{
    return slotPath(kRecordSuffix);
}

bool RecoveryStore::hasCopy() const
{
    return QFileInfo(copyPath()).isFile();
}

std::optional<RecoveryStore::Contents> RecoveryStore::read(QString* error) const
{
    auto copy = readFileWhole(copyPath(), error);
    if (!copy)
        return std::nullopt;
    Contents contents{std::move(*copy), {}};
    if (const auto lines = readTextLines(recordPath()))
        contents.record = RecoveryRecord::parse(*lines);
    return contents;
}

bool RecoveryStore::write(const QByteArray& copy, const RecoveryRecord& record,
                          QString* error) const
{
    // The copy first: a record without its copy would be offered as nothing.
    return writeFileWhole(copyPath(), copy, error) &&
           writeTextLines(recordPath(), record.lines(), error);
}

bool RecoveryStore::remove(QString* error) const
{
    QStringList failures;
    // The record first: a copy left alone is still offered, as an untitled document.
    removeIfThere(recordPath(), failures);
    removeIfThere(copyPath(), failures);
    if (error)
        *error = failures.join(QStringLiteral("; "));
    return failures.isEmpty();
}

QString RecoveryStore::setAside(const QDateTime& when, QString* error)
{
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    QString base = m_folder + QLatin1Char('/') + kBaseName + QLatin1Char(' ') + stamp;
    for (int n = 2;
         QFileInfo::exists(base + kCopySuffix) || QFileInfo::exists(base + kRecordSuffix); ++n)
        base = m_folder + QLatin1Char('/') + kBaseName + QLatin1Char(' ') + stamp +
               QStringLiteral(" (") + QString::number(n) + QLatin1Char(')');
    QFile copy(copyPath());
    if (!copy.rename(base + kCopySuffix)) {
        if (error)
            *error = copy.errorString();
        return QString();
    }
    QFile record(recordPath());
    if (record.exists() && !record.rename(base + kRecordSuffix)) {
        if (error)
            *error = record.errorString();
    }
    return base + kCopySuffix;
}
