// The client on its own, before any QCoreApplication exists, as `vocarta --command` runs it,
// against a stand-in for the running program that answers as each test says.

#include "UnixClient.h"
#include "platform/InstanceLock.h"
#include "remote/InstanceClient.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using InstanceClient::Outcome;
using namespace std::chrono_literals;

namespace {

// The running program's part: its socket opens when the script says, it reads one connection's
// request and answers it piece by piece, on a thread of its own.
class ScriptedProgram {
public:
    struct Script {
        std::chrono::milliseconds opensAfter{0};
        QByteArrayList answer = {};
        // Holds the connection open after its answer, until the client is gone.
        bool holdsOn = false;
        // Closes the connection after reading this many bytes, whole line or not.
        qsizetype readsAtMost = -1;
    };

    ScriptedProgram(const QString& path, Script script) : m_path(path), m_script(std::move(script))
    {
        if (m_script.opensAfter == 0ms)
            open();
        m_thread = std::thread([this] { run(); });
    }
    ~ScriptedProgram()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_listening >= 0) {
            ::close(m_listening);
            ::unlink(QFile::encodeName(m_path).constData());
        }
    }

    // The bytes of the request that came, once the program is done.
    QByteArray request()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_request;
    }

private:
    void open()
    {
        m_listening = bindUnixSocket(m_path);
        if (m_listening < 0 || ::listen(m_listening, 4) != 0)
            qFatal("the stand-in cannot listen");
    }

    // Waits for `fd` to be readable, until the test ends.
    bool waitReadable(int fd)
    {
        while (!m_stop) {
            pollfd entry{fd, POLLIN, 0};
            if (::poll(&entry, 1, 20) > 0)
                return true;
        }
        return false;
    }

    void run()
    {
        const auto opening = std::chrono::steady_clock::now() + m_script.opensAfter;
        while (m_listening < 0) {
            if (m_stop)
                return;
            if (std::chrono::steady_clock::now() >= opening)
                open();
            else
                std::this_thread::sleep_for(5ms);
        }
        if (!waitReadable(m_listening))
            return;
        const int connection = ::accept4(m_listening, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            return;
        const qsizetype most = m_script.readsAtMost;
        while (!m_request.endsWith('\n') && (most < 0 || m_request.size() < most) &&
               waitReadable(connection)) {
            char chunk[256];
            const size_t wanted = most < 0 ? sizeof chunk : size_t(most - m_request.size());
            const ssize_t size = ::read(connection, chunk, std::min(sizeof chunk, wanted));
            if (size <= 0)
                break;
            m_request.append(chunk, size);
        }
        if (most < 0) {
            for (const QByteArray& piece : m_script.answer) {
                (void)::send(connection, piece.constData(), size_t(piece.size()), MSG_NOSIGNAL);
                std::this_thread::sleep_for(20ms);
            }
            char rest[256];
            while (m_script.holdsOn && waitReadable(connection) &&
                   ::read(connection, rest, sizeof rest) > 0) {
            }
        }
        ::close(connection);
    }

    QString m_path;
    Script m_script;
    int m_listening = -1;
    QByteArray m_request;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

struct Folder {
    QTemporaryDir folder;
    QString socketPath() const { return folder.filePath(QStringLiteral("vocarta.socket")); }
    QString lockPath() const { return folder.filePath(QStringLiteral("vocarta.lock")); }
};

} // namespace

class TestInstanceClient : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answers_data();
    void answers();
    void connectionClosedWhileTheRequestIsWritten();
    void programStillStarting_data();
    void programStillStarting();
    void pathTooLongForASocket_data();
    void pathTooLongForASocket();
};

void TestInstanceClient::answers_data()
{
    QTest::addColumn<QByteArrayList>("answer");
    QTest::addColumn<bool>("holdsOn");
    QTest::addColumn<Outcome>("outcome");
    QTest::newRow("taken") << QByteArrayList{"ok\n"} << false << Outcome::Accepted;
    QTest::newRow("refused") << QByteArrayList{"refused\n"} << false << Outcome::Refused;
    QTest::newRow("in pieces") << QByteArrayList{"o", "k", "\n"} << true << Outcome::Accepted;
    QTest::newRow("another word") << QByteArrayList{"okay\n"} << false << Outcome::Refused;
    QTest::newRow("closed unanswered") << QByteArrayList{} << false << Outcome::NoAnswer;
    QTest::newRow("closed within the answer") << QByteArrayList{"ok"} << false << Outcome::NoAnswer;
    QTest::newRow("silent") << QByteArrayList{} << true << Outcome::NoAnswer;
    QTest::newRow("silent within the answer") << QByteArrayList{"ok"} << true << Outcome::NoAnswer;
}

void TestInstanceClient::answers()
{
    QFETCH(QByteArrayList, answer);
    QFETCH(bool, holdsOn);
    QFETCH(Outcome, outcome);
    Folder f;
    ScriptedProgram program(f.socketPath(), {.answer = answer, .holdsOn = holdsOn});
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(InstanceClient::send(f.socketPath(), f.lockPath(), "command stop\n", {1s, 300ms}),
             outcome);
    QVERIFY(clock.elapsed() < 2000);
    QCOMPARE(program.request(), QByteArray("command stop\n"));
}

void TestInstanceClient::connectionClosedWhileTheRequestIsWritten()
{
    Folder f;
    ScriptedProgram program(f.socketPath(), {.readsAtMost = 1});
    // Far more than the socket holds: the client is still writing when the program hangs up, and
    // a SIGPIPE would end this test.
    const QByteArray request = QByteArray(8 << 20, 'a') + '\n';
    QCOMPARE(InstanceClient::send(f.socketPath(), f.lockPath(), request, {1s, 2s}),
             Outcome::NoAnswer);
    QCOMPARE(program.request(), QByteArray("a"));
}

void TestInstanceClient::programStillStarting_data()
{
    QTest::addColumn<bool>("locked");
    QTest::addColumn<int>("opensAfterMs"); // < 0: never
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<int>("leastMs");
    // A program holds the lock while it starts; the client waits up to 600 ms for its socket.
    QTest::newRow("opens in time") << true << 200 << Outcome::Accepted << 150;
    QTest::newRow("never opens") << true << -1 << Outcome::NotListening << 600;
    // Without a program nothing is waited for.
    QTest::newRow("no program") << false << -1 << Outcome::NoInstance << 0;
    QTest::newRow("no program, a socket later") << false << 200 << Outcome::NoInstance << 0;
}

void TestInstanceClient::programStillStarting()
{
    QFETCH(bool, locked);
    QFETCH(int, opensAfterMs);
    QFETCH(Outcome, outcome);
    QFETCH(int, leastMs);
    Folder f;
    std::unique_ptr<InstanceLock> lock;
    if (locked)
        QVERIFY(lock = InstanceLock::claim(f.lockPath()));
    std::optional<ScriptedProgram> program;
    if (opensAfterMs >= 0)
        program.emplace(f.socketPath(), ScriptedProgram::Script{
                                            .opensAfter = std::chrono::milliseconds(opensAfterMs),
                                            .answer = {"ok\n"}});
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(InstanceClient::send(f.socketPath(), f.lockPath(), "command stop\n", {600ms, 1s}),
             outcome);
    QVERIFY2(clock.elapsed() >= leastMs && clock.elapsed() < leastMs + 1000,
             qPrintable(QString::number(clock.elapsed())));
}

void TestInstanceClient::pathTooLongForASocket_data()
{
    QTest::addColumn<bool>("locked");
    QTest::addColumn<Outcome>("outcome");
    QTest::newRow("no program") << false << Outcome::NoInstance;
    // Its socket cannot be there however long one waits.
    QTest::newRow("a program running") << true << Outcome::NotListening;
}

void TestInstanceClient::pathTooLongForASocket()
{
    QFETCH(bool, locked);
    QFETCH(Outcome, outcome);
    Folder f;
    std::unique_ptr<InstanceLock> lock;
    if (locked)
        QVERIFY(lock = InstanceLock::claim(f.lockPath()));
    const QString path = f.folder.filePath(QString(200, QLatin1Char('d')) + "/vocarta.socket");
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(InstanceClient::send(path, f.lockPath(), "command stop\n", {3s, 1s}), outcome);
    QVERIFY(clock.elapsed() < 1000);
}

QTEST_APPLESS_MAIN(TestInstanceClient)
#include "tst_instanceclient.moc"
