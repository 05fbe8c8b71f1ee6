#include "pedal/PedalReader.h"

#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Larger than any pedal's report; the kernel hands over one report per read.
constexpr int kReportLimit = 64;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

PedalReader::PedalReader(QObject* parent) : QObject(parent) {}

PedalReader::~PedalReader()
{
    close();
}

PedalReader::OpenResult PedalReader::open(const QString& node, const PedalLayout& layout,
                                          QString* error)
{
    close();
    const int fd = ::open(QFile::encodeName(node).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int reason = errno;
        if (error)
            *error = systemReason(reason);
        return reason == EACCES || reason == EPERM ? OpenResult::NotAllowed : OpenResult::Failed;
    }
    m_fd = fd;
    m_node = node;
    m_layout = layout;
    m_down = {};
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PedalReader::readReports);
    return OpenResult::Opened;
}

void PedalReader::close()
{
    if (m_fd < 0)
        return;
    // Closed from the notifier's own signal too: it goes once that is over, and hears nothing more.
    m_notifier->setEnabled(false);
    m_notifier->deleteLater();
    m_notifier = nullptr;
    ::close(m_fd);
    m_fd = -1;
    m_node.clear();
    m_down = {};
}

void PedalReader::readReports()
{
    char report[kReportLimit];
    while (m_fd >= 0) {
        const ssize_t size = ::read(m_fd, report, sizeof report);
        if (size < 0 && errno == EINTR)
            continue;
        if (size < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (size <= 0) {
            // End of file or an error: the device is gone (ENODEV, EIO after an unplug).
            const QString reason = size == 0 ? QStringLiteral("end of file") : systemReason(errno);
            close();
            Q_EMIT lost(reason);
            return;
        }
        const auto down = decodePedalReport(m_layout, QByteArrayView(report, size));
        if (down && *down != m_down) {
            m_down = *down;
            Q_EMIT pedalsChanged(m_down);
        }
    }
}
