#include "remote/InstanceClient.h"

#include "remote/RemoteMessage.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <cerrno>
#include <csignal>

namespace InstanceClient {

namespace {

constexpr int kStartingMs = 5000;
constexpr int kRetryMs = 20;
constexpr int kAnswerMs = 5000;

// The lock's owner lives but has not opened its socket yet.
bool isStarting(const QString& lockPath)
{
    qint64 pid = 0;
    QString host;
    QString application;
    if (!QLockFile(lockPath).getLockInfo(&pid, &host, &application) || pid <= 0)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace

Outcome send(const QString& socketPath, const QString& lockPath, const QByteArray& request)
{
    QLocalSocket socket;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(kAnswerMs))
            break;
        if (!isStarting(lockPath))
            return Outcome::NoInstance;
        if (clock.elapsed() > kStartingMs)
            return Outcome::NotListening;
        QThread::msleep(kRetryMs);
    }

    socket.write(request);
    if (!socket.waitForBytesWritten(kAnswerMs))
        return Outcome::NoAnswer;
    QByteArray answer;
    while (!answer.contains('\n')) {
        if (!socket.waitForReadyRead(kAnswerMs))
            return Outcome::NoAnswer;
        answer += socket.readAll();
    }
    socket.disconnectFromServer();
    return answer.startsWith(QByteArray(RemoteMessage::kAccepted) + '\n') ? Outcome::Accepted
                                                                          : Outcome::Refused;
}

} // namespace InstanceClient
