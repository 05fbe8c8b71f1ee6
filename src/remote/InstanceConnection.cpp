#include "remote/InstanceConnection.h"

#include "remote/RemoteLogging.h"

#include <cerrno>

namespace {

constexpr size_t kChunkBytes = 4096;
// Read from one client in a turn before the event loop serves the others.
constexpr qsizetype kReadTurnBytes = 64 * 1024;

} // namespace

InstanceConnection::InstanceConnection(LocalSocket::Descriptor socket, const Handler& handler,
                                       std::chrono::milliseconds idleTimeout, QObject* parent)
    : QObject(parent), m_socket(std::move(socket)), m_handler(handler),
      m_readable(m_socket.get(), QSocketNotifier::Read),
      m_writable(m_socket.get(), QSocketNotifier::Write)
{
    m_writable.setEnabled(false);
    connect(&m_readable, &QSocketNotifier::activated, this, &InstanceConnection::readRequests);
    connect(&m_writable, &QSocketNotifier::activated, this, &InstanceConnection::carryOn);
    m_idle.setSingleShot(true);
    m_idle.setInterval(idleTimeout);
    connect(&m_idle, &QTimer::timeout, this, [this] {
        qCWarning(lcRemote) << "A silent connection to the program's socket was closed";
        close();
    });
    m_idle.start();
}

// The notifiers go before the socket they watch is closed.
InstanceConnection::~InstanceConnection() = default;

void InstanceConnection::close()
{
    if (!isOpen())
        return;
    m_readable.setEnabled(false);
    m_writable.setEnabled(false);
    m_idle.stop();
    m_socket.reset();
    Q_EMIT closed();
}

void InstanceConnection::readRequests()
{
    qsizetype turn = 0;
    while (isOpen() && !m_inputEnded && !isBacklogged() && turn < kReadTurnBytes) {
        char chunk[kChunkBytes];
        const ssize_t size = LocalSocket::readSome(m_socket.get(), chunk, sizeof chunk);
        if (size < 0 && LocalSocket::wouldBlock(errno))
            break;
        if (size < 0) {
            // Reset by the client: nobody is left to answer.
            close();
            return;
        }
        if (size == 0) {
            m_inputEnded = true;
            break;
        }
        m_idle.start();
        m_lastHeard = std::chrono::steady_clock::now();
        m_input.append(chunk, size);
        turn += size;
        if (!takeRequests())
            return;
    }
    carryOn();
}

bool InstanceConnection::takeRequests()
{
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = m_input.indexOf('\n', start);
        if ((end < 0 ? m_input.size() : end) - start > RemoteMessage::kMaxLineBytes) {
            qCWarning(lcRemote) << "An overlong message to the program's socket was dropped";
            close();
            return false;
        }
        if (end < 0 || isBacklogged())
            break;
        const QByteArrayView line(m_input.constData() + start, end - start);
        start = end + 1;
        const auto request = RemoteMessage::parse(line);
        if (!request)
            qCWarning(lcRemote) << "A malformed message to the program's socket was ignored";
        const bool taken = request && m_handler(*request);
        // Once the client stopped reading for good, its requests are still taken.
        if (!m_outputFailed) {
            m_output += taken ? RemoteMessage::kAccepted : RemoteMessage::kRefused;
            m_output += '\n';
        }
    }
    m_input.remove(0, start);
    return true;
}

void InstanceConnection::writeAnswers()
{
    while (!m_output.isEmpty()) {
        const ssize_t size =
            LocalSocket::writeSome(m_socket.get(), m_output.constData(), size_t(m_output.size()));
        if (size < 0 && LocalSocket::wouldBlock(errno))
            return;
        if (size < 0) {
            m_outputFailed = true;
            m_output.clear();
            return;
        }
        m_output.remove(0, size);
    }
}

void InstanceConnection::carryOn()
{
    for (;;) {
        if (!isOpen())
            return;
        writeAnswers();
        if (isBacklogged() || !m_input.contains('\n'))
            break;
        if (!takeRequests())
            return;
    }
    if (m_inputEnded && m_output.isEmpty()) {
        close();
        return;
    }
    m_writable.setEnabled(!m_output.isEmpty());
    m_readable.setEnabled(!m_inputEnded && !isBacklogged());
}
