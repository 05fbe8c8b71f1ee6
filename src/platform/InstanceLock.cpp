#include "platform/InstanceLock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace {

int openLockFile(const QString& path, int flags)
{
    const QByteArray name = QFile::encodeName(path);
    int descriptor;
    do
        descriptor = ::open(name.constData(), flags | O_CLOEXEC, 0600);
    while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

bool tryLock(int descriptor, int operation)
{
    int result;
    do
        result = ::flock(descriptor, operation | LOCK_NB);
    while (result != 0 && errno == EINTR);
    return result == 0;
}

} // namespace

InstanceLock::~InstanceLock()
{
    ::close(m_descriptor);
}

std::unique_ptr<InstanceLock> InstanceLock::claim(const QString& path)
{
    const int descriptor = openLockFile(path, O_RDWR | O_CREAT);
    if (descriptor < 0)
        return nullptr;
    if (!tryLock(descriptor, LOCK_EX)) {
        ::close(descriptor);
        return nullptr;
    }
    const std::string pid = std::to_string(::getpid()) + '\n';
    if (::ftruncate(descriptor, 0) == 0) {
        // Only for people looking: the lock itself is the claim.
        [[maybe_unused]] const ssize_t written = ::write(descriptor, pid.data(), pid.size());
    }
    return std::unique_ptr<InstanceLock>(new InstanceLock(descriptor));
}

bool InstanceLock::isHeld(const QString& path)
{
    const int descriptor = openLockFile(path, O_RDONLY);
    if (descriptor < 0)
        return false;
    const bool free = tryLock(descriptor, LOCK_SH);
    ::close(descriptor);
    return !free;
}
