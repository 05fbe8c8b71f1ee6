#include "RealWait.h"
#include "UnixClient.h"
#include "remote/InstanceClient.h"
#include "remote/InstanceServer.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using RemoteMessage::Request;
using Kind = RemoteMessage::Request::Kind;
using namespace std::chrono_literals;

namespace {

// A server in a folder of its own that takes every command but "refused-one" and notes what it
// took.
struct Fixture {
    QTemporaryDir folder;
    QList<Request> taken;
    InstanceServer server{[this](const Request& request) {
        if (request.argument == QLatin1String("refused-one"))
            return false;
        taken << request;
        return true;
    }};

    QString socketPath() const { return folder.filePath(QStringLiteral("vocarta.socket")); }
    QString lockPath() const { return folder.filePath(QStringLiteral("vocarta.lock")); }

    // The client waits without an event loop, so it runs beside the server's.
    InstanceClient::Outcome send(const QByteArray& request) { return send(request, socketPath()); }
    InstanceClient::Outcome send(const QByteArray& request, const QString& path)
    {
        InstanceClient::Outcome outcome{};
        QThread* client =
            QThread::create([&] { outcome = InstanceClient::send(path, lockPath(), request); });
        client->start();
        if (!QTest::qWaitFor([client] { return client->isFinished(); }, 20000))
            qFatal("the client did not end");
        delete client;
        return outcome;
    }
};

ino_t inodeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

mode_t modeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}

// A request line of `size` bytes, line feed left out, that the server takes.
QByteArray openLine(qsizetype size)
{
    const QByteArray verb = "open file:///";
    return verb + QByteArray(size - verb.size(), 'a');
}

QByteArray repeated(const QByteArray& line, int count)
{
    QByteArray lines;
    for (int i = 0; i < count; ++i)
        lines += line;
    return lines;
}

} // namespace

class TestInstanceServer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void socketIsTheUsersAloneAndReplacesAStaleOne();
    void socketIsTheUsersAloneWhateverTheUmask_data();
    void socketIsTheUsersAloneWhateverTheUmask();
    void onlyASocketIsReplaced_data();
    void onlyASocketIsReplaced();
    void pathTooLongForASocket_data();
    void pathTooLongForASocket();
    void closeRemovesOnlyItsOwnSocketFile_data();
    void closeRemovesOnlyItsOwnSocketFile();
    void clientOutcomes_data();
    void clientOutcomes();
    void requestsRunInOrderEachOnce();
    void requestsArrivingInPieces_data();
    void requestsArrivingInPieces();
    void malformedLinesAreRefusedAndTheConnectionGoesOn();
    void overlongMessageLosesItsConnectionOnly();
    void longestLine_data();
    void longestLine();
    void requestsOfAClientThatEndsItsSide_data();
    void requestsOfAClientThatEndsItsSide();
    void silentClientLosesItsConnection_data();
    void silentClientLosesItsConnection();
    void newClientTakesThePlaceSilentLongest();
    void burstOfClientsIsServedInFull();
    void clientThatNeverReadsHoldsNothingUp();
    void otherUsersAreTurnedAway();
};

void TestInstanceServer::socketIsTheUsersAloneAndReplacesAStaleOne()
{
    Fixture f;
    // A socket file that nobody listens on, as a program that crashed leaves it.
    const int stale = bindUnixSocket(f.socketPath());
    QVERIFY(stale >= 0);
    ::close(stale);
    QVERIFY(QFileInfo::exists(f.socketPath()));

    QString error;
    QVERIFY2(f.server.listen(f.socketPath(), &error), qPrintable(error));
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(f.socketPath()).constData(), &info), 0);
    QVERIFY(S_ISSOCK(info.st_mode));
    QCOMPARE(info.st_mode & (S_IRWXG | S_IRWXO), 0u);
    QCOMPARE(f.send("command stop\n"), InstanceClient::Outcome::Accepted);
}

void TestInstanceServer::socketIsTheUsersAloneWhateverTheUmask_data()
{
    QTest::addColumn<mode_t>("umask");
    QTest::newRow("open to all") << mode_t(0);
    QTest::newRow("usual") << mode_t(022);
    QTest::newRow("closed to all") << mode_t(077);
    QTest::newRow("closed to the user too") << mode_t(0277);
}

void TestInstanceServer::socketIsTheUsersAloneWhateverTheUmask()
{
    QFETCH(mode_t, umask);
    Fixture f;
    const mode_t before = ::umask(umask);
    const bool listening = f.server.listen(f.socketPath());
    ::umask(before);
    QVERIFY(listening);
    QCOMPARE(modeOf(f.socketPath()), mode_t(S_IFSOCK | 0600));
    QCOMPARE(f.send("command stop\n"), InstanceClient::Outcome::Accepted);
}

void TestInstanceServer::onlyASocketIsReplaced_data()
{
    QTest::addColumn<bool>("symbolicLink");
    QTest::newRow("a file") << false;
    QTest::newRow("a symbolic link to a file") << true;
}

void TestInstanceServer::onlyASocketIsReplaced()
{
    QFETCH(bool, symbolicLink);
    Fixture f;
    const QString file = symbolicLink ? f.folder.filePath("notes.txt") : f.socketPath();
    QFile notes(file);
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("keep me") == 7);
    notes.close();
    if (symbolicLink)
        QVERIFY(QFile::link(file, f.socketPath()));

    QString error;
    QVERIFY(!f.server.listen(f.socketPath(), &error));
    QVERIFY(error.contains(f.socketPath()));
    QCOMPARE(QFileInfo(f.socketPath()).isSymLink(), symbolicLink);
    QVERIFY(notes.open(QIODevice::ReadOnly));
    QCOMPARE(notes.readAll(), QByteArray("keep me"));
}

void TestInstanceServer::pathTooLongForASocket_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("fits");
    // sun_path holds 108 bytes, the terminating zero among them.
    QTest::newRow("longest") << 107 << true;
    QTest::newRow("one byte over") << 108 << false;
    QTest::newRow("far over") << 300 << false;
}

void TestInstanceServer::pathTooLongForASocket()
{
    QFETCH(int, length);
    QFETCH(bool, fits);
    Fixture f;
    const QString name = QStringLiteral("vocarta.socket");
    const qsizetype folderName = length - f.folder.path().size() - 2 - name.size();
    QVERIFY(folderName > 0);
    const QString folder = f.folder.filePath(QString(folderName, QLatin1Char('d')));
    QVERIFY(QDir().mkdir(folder));
    const QString socketPath = folder + QLatin1Char('/') + name;
    QCOMPARE(QFile::encodeName(socketPath).size(), length);

    QString error;
    QCOMPARE(f.server.listen(socketPath, &error), fits);
    if (fits) {
        QCOMPARE(f.server.socketPath(), socketPath);
        QCOMPARE(f.send("command stop\n", socketPath), InstanceClient::Outcome::Accepted);
        return;
    }
    QVERIFY(error.contains(socketPath));
    QVERIFY(f.server.socketPath().isEmpty());
    // Nothing was made, under a shortened name or any other.
    QVERIFY(QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                 QDir::System));
}

void TestInstanceServer::closeRemovesOnlyItsOwnSocketFile_data()
{
    QTest::addColumn<bool>("replaced");
    QTest::newRow("its own") << false;
    QTest::newRow("replaced by another program's") << true;
}

void TestInstanceServer::closeRemovesOnlyItsOwnSocketFile()
{
    QFETCH(bool, replaced);
    Fixture f;
    QVERIFY(f.server.listen(f.socketPath()));
    int other = -1;
    if (replaced) {
        QVERIFY(QFile::remove(f.socketPath()));
        other = bindUnixSocket(f.socketPath());
        QVERIFY(other >= 0);
    }
    const ino_t otherFile = inodeOf(f.socketPath());
    f.server.close();
    QVERIFY(f.server.socketPath().isEmpty());
    QCOMPARE(QFileInfo::exists(f.socketPath()), replaced);
    if (replaced)
        QCOMPARE(inodeOf(f.socketPath()), otherFile);
    // It listens no more.
    QCOMPARE(f.send("command stop\n"), InstanceClient::Outcome::NoInstance);
    if (other >= 0)
        ::close(other);
}

void TestInstanceServer::clientOutcomes_data()
{
    QTest::addColumn<bool>("listening");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<InstanceClient::Outcome>("outcome");
    QTest::newRow("taken") << true << QByteArray("command stop\n")
                           << InstanceClient::Outcome::Accepted;
    QTest::newRow("refused") << true << QByteArray("command refused-one\n")
                             << InstanceClient::Outcome::Refused;
    QTest::newRow("malformed") << true << QByteArray("hello\n") << InstanceClient::Outcome::Refused;
    QTest::newRow("no program") << false << QByteArray("command stop\n")
                                << InstanceClient::Outcome::NoInstance;
}

void TestInstanceServer::clientOutcomes()
{
    QFETCH(bool, listening);
    QFETCH(QByteArray, request);
    QFETCH(InstanceClient::Outcome, outcome);
    Fixture f;
    if (listening)
        QVERIFY(f.server.listen(f.socketPath()));
    QCOMPARE(f.send(request), outcome);
}

void TestInstanceServer::requestsRunInOrderEachOnce()
{
    Fixture f;
    QVERIFY(f.server.listen(f.socketPath()));
    UnixClient first(f.socketPath());
    UnixClient second(f.socketPath());
    QVERIFY(first.isConnected() && second.isConnected());
    // A line split across writes is taken once it is whole.
    first.write("command play-pause\ncommand sto");
    QTRY_COMPARE_WITH_TIMEOUT(f.taken.size(), 1, kRealWaitMs);
    first.write("p\nopen file:///tmp/a.wav\n");
    QCOMPARE(first.readLines(3), QByteArray("ok\nok\nok\n"));
    second.write("command faster\n");
    QCOMPARE(second.readLines(1), QByteArray("ok\n"));
    QCOMPARE(f.taken, (QList<Request>{{Kind::Command, "play-pause"},
                                      {Kind::Command, "stop"},
                                      {Kind::Open, "/tmp/a.wav"},
                                      {Kind::Command, "faster"}}));
}

void TestInstanceServer::requestsArrivingInPieces_data()
{
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<QStringList>("taken");
    QByteArrayList bytes;
    for (char c : QByteArray("command stop\n"))
        bytes << QByteArray(1, c);
    QTest::newRow("a byte at a time") << bytes << QByteArray("ok\n") << QStringList{"stop"};
    QTest::newRow("line feed alone")
        << QByteArrayList{"command stop", "\n"} << QByteArray("ok\n") << QStringList{"stop"};
    QTest::newRow("two in one write") << QByteArrayList{"command stop\ncommand faster\n"}
                                      << QByteArray("ok\nok\n") << QStringList{"stop", "faster"};
    QTest::newRow("the second across three writes")
        << QByteArrayList{"command stop\ncomm", "and fas", "ter\n"} << QByteArray("ok\nok\n")
        << QStringList{"stop", "faster"};
    QTest::newRow("refused between two")
        << QByteArrayList{"command stop\ncommand refused-one\ncommand ", "faster\n"}
        << QByteArray("ok\nrefused\nok\n") << QStringList{"stop", "faster"};
}

void TestInstanceServer::requestsArrivingInPieces()
{
    QFETCH(QByteArrayList, writes);
    QFETCH(QByteArray, answers);
    QFETCH(QStringList, taken);
    Fixture f;
    QVERIFY(f.server.listen(f.socketPath()));
    UnixClient client(f.socketPath());
    QVERIFY(client.isConnected());
    QByteArray written;
    QByteArray answered;
    for (const QByteArray& piece : writes) {
        QCOMPARE(client.write(piece), piece.size());
        written += piece;
        // One answer for each whole line so far, none for a part of one.
        QTRY_COMPARE_WITH_TIMEOUT((answered += client.take()).count('\n'), written.count('\n'),
                                  kRealWaitMs);
        QTest::qWait(10);
        QCOMPARE((answered += client.take()).count('\n'), written.count('\n'));
    }
    QCOMPARE(answered, answers);
    QStringList arguments;
    for (const Request& request : f.taken)
        arguments << request.argument;
    QCOMPARE(arguments, taken);
}

void TestInstanceServer::malformedLinesAreRefusedAndTheConnectionGoesOn()
{
    Fixture f;
    QVERIFY(f.server.listen(f.socketPath()));
    UnixClient socket(f.socketPath());
    QVERIFY(socket.isConnected());
    socket.write(QByteArray("\n\x01\x02\xff\n"
                            "open ../../etc/passwd\n"
                            "command stop\r\n"
                            "command faster\n"));
    QCOMPARE(socket.readLines(5), QByteArray("refused\nrefused\nrefused\nrefused\nok\n"));
    QCOMPARE(f.taken, (QList<Request>{{Kind::Command, "faster"}}));
}

void TestInstanceServer::overlongMessageLosesItsConnectionOnly()
{
    Fixture f;
    QVERIFY(f.server.listen(f.socketPath()));
    UnixClient flood(f.socketPath());
    QVERIFY(flood.isConnected());
    flood.write("command " + QByteArray(RemoteMessage::kMaxLineBytes * 4, 'a'));
    QTRY_VERIFY_WITH_TIMEOUT(flood.isClosedByPeer(), kRealWaitMs);
    QVERIFY(f.taken.isEmpty());
    // The program still serves everyone else.
    QCOMPARE(f.send("command stop\n"), InstanceClient::Outcome::Accepted);
    QCOMPARE(f.taken, (QList<Request>{{Kind::Command, "stop"}}));
}

void TestInstanceServer::longestLine_data()
{
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<bool>("taken");
    const QByteArray longest = openLine(RemoteMessage::kMaxLineBytes);
    const QByteArray over = openLine(RemoteMessage::kMaxLineBytes + 1);
    QTest::newRow("longest") << QByteArrayList{longest + '\n'} << true;
    QTest::newRow("longest, its line feed later") << QByteArrayList{longest, "\n"} << true;
    QTest::newRow("a byte over") << QByteArrayList{over + '\n'} << false;
    // Dropped before its end comes.
    QTest::newRow("a byte over, unfinished") << QByteArrayList{over} << false;
}

void TestInstanceServer::longestLine()
{
    QFETCH(QByteArrayList, writes);
    QFETCH(bool, taken);
    Fixture f;
    QVERIFY(f.server.listen(f.socketPath()));
    UnixClient client(f.socketPath());
    QVERIFY(client.isConnected());
    for (const QByteArray& piece : writes) {
        QCOMPARE(client.write(piece), piece.size());
        QTest::qWait(20);
    }
    if (taken) {
        QCOMPARE(client.readLines(1), QByteArray("ok\n"));
        QCOMPARE(f.taken.size(), 1);
        QCOMPARE(f.taken.first().argument.size(), RemoteMessage::kMaxLineBytes - 12);
        QVERIFY(!client.isClosedByPeer());
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(client.isClosedByPeer(), kRealWaitMs);
        QVERIFY(client.take().isEmpty());
        QVERIFY(f.taken.isEmpty());
    }
}

void TestInstanceServer::requestsOfAClientThatEndsItsSide_data()
{
    QTest::addColumn<bool>("readsAnswers");
    QTest::newRow("closes at once") << false;
    QTest::newRow("half-closes and reads the answers") << true;
}

void TestInstanceServer::requestsOfAClientThatEndsItsSide()
{
    QFETCH(bool, readsAnswers);
    Fixture f;
    QVERIFY(f.server.listen(f.socketPath()));
    {
        UnixClient client(f.socketPath());
        QVERIFY(client.isConnected());
        const QByteArray requests = "command stop\ncommand faster\ncommand skip-fo";
        QCOMPARE(client.write(requests), requests.size());
        if (readsAnswers) {
            client.endWriting();
            QCOMPARE(client.readLines(2), QByteArray("ok\nok\n"));
            // The unfinished line is not a request; the server ends its side too.
            QTRY_VERIFY_WITH_TIMEOUT(client.isClosedByPeer(), kRealWaitMs);
            QVERIFY(client.take().isEmpty());
        }
    }
    QTRY_COMPARE_WITH_TIMEOUT(
        f.taken, (QList<Request>{{Kind::Command, "stop"}, {Kind::Command, "faster"}}), kRealWaitMs);
    QTest::qWait(20);
    QCOMPARE(f.taken.size(), 2);
}

void TestInstanceServer::silentClientLosesItsConnection_data()
{
    QTest::addColumn<int>("requests");
    QTest::newRow("never a word") << 0;
    // Together longer than the idle time, each gap shorter.
    QTest::newRow("silent after some requests") << 6;
}

void TestInstanceServer::silentClientLosesItsConnection()
{
    QFETCH(int, requests);
    constexpr int kIdleMs = 1000; // each gap below is a third of it, with room for a busy machine
    Fixture f;
    f.server.setIdleTimeout(std::chrono::milliseconds(kIdleMs));
    QVERIFY(f.server.listen(f.socketPath()));
    UnixClient client(f.socketPath());
    QVERIFY(client.isConnected());
    for (int i = 0; i < requests; ++i) {
        QTest::qWait(kIdleMs / 3);
        client.write("command stop\n");
        QCOMPARE(client.readLines(1), QByteArray("ok\n"));
    }
    QTest::qWait(kIdleMs / 3);
    QVERIFY(!client.isClosedByPeer());
    QTRY_VERIFY_WITH_TIMEOUT(client.isClosedByPeer(), kRealWaitMs);
    QCOMPARE(f.taken.size(), requests);
}

void TestInstanceServer::newClientTakesThePlaceSilentLongest()
{
    Fixture f;
    QVERIFY(f.server.listen(f.socketPath()));
    // Slow clients in every place, each a byte into its request.
    std::vector<std::unique_ptr<UnixClient>> clients;
    for (int i = 0; i < InstanceServer::kMaxConnections; ++i) {
        clients.push_back(std::make_unique<UnixClient>(f.socketPath()));
        QCOMPARE(clients.back()->write("c"), 1);
        QTest::qWait(10);
    }
    // The first spoke last: the second is silent longest.
    QCOMPARE(clients.front()->write("o"), 1);
    QTest::qWait(int(InstanceServer::kSilenceBeforeDropped.count()) + 50);
    QCOMPARE(f.send("command faster\n"), InstanceClient::Outcome::Accepted);
    QCOMPARE(f.taken, (QList<Request>{{Kind::Command, "faster"}}));
    QString closed;
    for (const auto& client : clients)
        closed += client->isClosedByPeer() ? QLatin1Char('x') : QLatin1Char('-');
    QCOMPARE(closed, QStringLiteral("-x") + QString(InstanceServer::kMaxConnections - 2, u'-'));
}

void TestInstanceServer::burstOfClientsIsServedInFull()
{
    Fixture f;
    QVERIFY(f.server.listen(f.socketPath()));
    std::vector<std::unique_ptr<UnixClient>> clients(2 * InstanceServer::kMaxConnections);
    for (auto& client : clients) {
        client = std::make_unique<UnixClient>(f.socketPath());
        client->writeSome("command stop\n");
    }
    QString answers;
    for (const auto& client : clients)
        answers += client->readLines(1, kRealWaitMs) == "ok\n" ? u'o' : u'x';
    QCOMPARE(answers, QString(clients.size(), u'o'));
}

void TestInstanceServer::clientThatNeverReadsHoldsNothingUp()
{
    Fixture f;
    f.server.setIdleTimeout(500ms);
    QVERIFY(f.server.listen(f.socketPath()));
    UnixClient flood(f.socketPath());
    QVERIFY(flood.isConnected());
    const QByteArray requests = repeated("command stop\n", 100);
    // Written until the socket takes no more: the answers it never reads have piled up.
    QVERIFY(QTest::qWaitFor([&] { return flood.writeSome(requests) == 0; }, 5000));

    QCOMPARE(f.send("command faster\n"), InstanceClient::Outcome::Accepted);
    QCOMPARE(f.taken.last(), (Request{Kind::Command, "faster"}));
    // However eagerly it writes, once the server has stopped reading it, it is silent.
    QVERIFY(QTest::qWaitFor(
        [&] {
            flood.writeSome(requests);
            return flood.isClosedByPeer();
        },
        5000));
}

void TestInstanceServer::otherUsersAreTurnedAway()
{
    if (::geteuid() != 0)
        QSKIP("needs root, to connect as another user");
    Fixture f;
    QVERIFY(f.server.listen(f.socketPath()));
    // Opened to all, so that only the check of the peer's user remains.
    QVERIFY(::chmod(QFile::encodeName(f.folder.path()).constData(), 0755) == 0);
    QVERIFY(::chmod(QFile::encodeName(f.socketPath()).constData(), 0666) == 0);
    sockaddr_un address;
    QVERIFY(unixSocketAddress(f.socketPath(), &address));

    // The child: 0 when the connection was closed unanswered, 1 when answered, 2 when it could
    // not connect.
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
            ::_exit(2);
        const char request[] = "command stop\n";
        (void)::send(fd, request, sizeof request - 1, MSG_NOSIGNAL);
        char answer[16];
        const ssize_t size = ::read(fd, answer, sizeof answer);
        ::_exit(size > 0 ? 1 : 0);
    }
    int status = 0;
    if (!QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 5000)) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        QFAIL("the connection of another user was kept open");
    }
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(f.taken.isEmpty());
}

QTEST_GUILESS_MAIN(TestInstanceServer)
#include "tst_instanceserver.moc"
