#include "editor/RecoveryStore.h"

#include "core/Logging.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString kBaseName = QStringLiteral("Transcript");
const QString kCopySuffix = QStringLiteral(".rtf");
const QString kRecordSuffix = QStringLiteral(".ini");
const QString kLockSuffix = QStringLiteral(".lock");

QString slotBaseName(int slot)
{
    return slot == 1 ? kBaseName : kBaseName + QLatin1Char('-') + QString::number(slot);
}

// QLockFile takes over a lock whose program is gone from this computer, but never one it cannot
// read or that names another computer (a folder carried between two). Such a lock is abandoned
// when no program here holds it: a running program keeps its lock file flock()ed.
bool ownerIsGone(QLockFile& lock, const QString& path)
{
    qint64 pid = 0;
    QString host;
    QString application;
    const bool understood = lock.getLockInfo(&pid, &host, &application);
    if (understood && (host.isEmpty() || host == QSysInfo::machineHostName()))
        return false; // QLockFile judged it: its program runs
    // A lock file a program is writing this very moment reads as empty too.
    constexpr qint64 kYoungMs = 5000;
    if (!understood &&
        qAbs(QFileInfo(path).lastModified().msecsTo(QDateTime::currentDateTime())) < kYoungMs)
        return false;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT; // gone meanwhile: free to take
    const bool gone = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(name.constData()) == 0;
    ::close(fd);
    if (gone)
        qCInfo(lcEditor).noquote() << "Took over the abandoned lock" << path;
    return gone;
}

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
            *error = QFileInfo(m_folder).exists() ? QStringLiteral("It is not a folder.")
                                                  : QStringLiteral("It cannot be made.");
        return false;
    }
    QString lastFailure;
    const auto take = [&](int slot) {
        const QString base = slotBaseName(slot);
        const QString lockPath = m_folder + QLatin1Char('/') + base + kLockSuffix;
        auto lock = std::make_unique<QLockFile>(lockPath);
        lock->setStaleLockTime(0);
        bool taken = lock->tryLock(0);
        if (!taken && lock->error() == QLockFile::LockFailedError && ownerIsGone(*lock, lockPath))
            taken = lock->tryLock(0);
        if (taken) {
            m_base = base;
            m_lock = std::move(lock);
        } else if (lock->error() != QLockFile::LockFailedError) {
            lastFailure = QStringLiteral("A lock file cannot be written in it.");
        }
        return taken;
    };
    // A copy some program left behind comes first, so that it is offered now; then the first
    // free name.
    for (int slot = 1; slot <= kMostSlots; ++slot) {
        if (QFileInfo::exists(m_folder + QLatin1Char('/') + slotBaseName(slot) + kCopySuffix) &&
            take(slot))
            return true;
    }
    for (int slot = 1; slot <= kMostSlots; ++slot) {
        if (take(slot))
            return true;
    }
    if (error)
        *error =
            lastFailure.isEmpty() ? QStringLiteral("Every recovery name is in use.") : lastFailure;
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
