#include "remote/InstanceClient.h"
#include "remote/InstanceServer.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using RemoteMessage::Request;
using Kind = RemoteMessage::Request::Kind;

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
    InstanceClient::Outcome send(const QByteArray& request)
    {
        InstanceClient::Outcome outcome{};
        QThread* client = QThread::create(
            [&] { outcome = InstanceClient::send(socketPath(), lockPath(), request); });
        client->start();
        if (!QTest::qWaitFor([client] { return client->isFinished(); }, 20000))
            qFatal("the client did not end");
        delete client;
        return outcome;
    }
};

// Reads the answers to `count` lines.
QByteArray answers(QLocalSocket& socket, int count)
{
    QByteArray read;
    (void)QTest::qWaitFor(
        [&] {
            read += socket.readAll();
            return read.count('\n') >= count;
        },
        5000);
    return read;
}

} // namespace

class TestInstanceServer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void socketIsTheUsersAloneAndReplacesAStaleOne();
    void clientOutcomes_data();
    void clientOutcomes();
    void requestsRunInOrderEachOnce();
    void malformedLinesAreRefusedAndTheConnectionGoesOn();
    void overlongMessageLosesItsConnectionOnly();
};

void TestInstanceServer::socketIsTheUsersAloneAndReplacesAStaleOne()
{
    Fixture f;
    // A socket file that nobody listens on, as a program that crashed leaves it.
    const QByteArray path = QFile::encodeName(f.socketPath());
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    QCOMPARE(::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(stale);
    QVERIFY(QFileInfo::exists(f.socketPath()));

    QString error;
    QVERIFY2(f.server.listen(f.socketPath(), &error), qPrintable(error));
    struct stat info {};
    QCOMPARE(::stat(path.constData(), &info), 0);
    QVERIFY(S_ISSOCK(info.st_mode));
    QCOMPARE(info.st_mode & (S_IRWXG | S_IRWXO), 0u);
    QCOMPARE(f.send("command stop\n"), InstanceClient::Outcome::Accepted);
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
    QLocalSocket first;
    QLocalSocket second;
    first.connectToServer(f.socketPath());
    second.connectToServer(f.socketPath());
    QVERIFY(first.waitForConnected() && second.waitForConnected());
    // A line split across writes is taken once it is whole.
    first.write("command play-pause\ncommand sto");
    first.flush();
    QTRY_COMPARE(f.taken.size(), 1);
    first.write("p\nopen file:///tmp/a.wav\n");
    QCOMPARE(answers(first, 3), QByteArray("ok\nok\nok\n"));
    second.write("command faster\n");
    QCOMPARE(answers(second, 1), QByteArray("ok\n"));
    QCOMPARE(f.taken, (QList<Request>{{Kind::Command, "play-pause"},
                                      {Kind::Command, "stop"},
                                      {Kind::Open, "/tmp/a.wav"},
                                      {Kind::Command, "faster"}}));
}

void TestInstanceServer::malformedLinesAreRefusedAndTheConnectionGoesOn()
{
    Fixture f;
    QVERIFY(f.server.listen(f.socketPath()));
    QLocalSocket socket;
    socket.connectToServer(f.socketPath());
    QVERIFY(socket.waitForConnected());
    socket.write(QByteArray("\n\x01\x02\xff\n"
                            "open ../../etc/passwd\n"
                            "command stop\r\n"
                            "command faster\n"));
    QCOMPARE(answers(socket, 5), QByteArray("refused\nrefused\nrefused\nrefused\nok\n"));
    QCOMPARE(f.taken, (QList<Request>{{Kind::Command, "faster"}}));
}

void TestInstanceServer::overlongMessageLosesItsConnectionOnly()
{
    Fixture f;
    QVERIFY(f.server.listen(f.socketPath()));
    QLocalSocket flood;
    flood.connectToServer(f.socketPath());
    QVERIFY(flood.waitForConnected());
    flood.write("command " + QByteArray(RemoteMessage::kMaxLineBytes * 4, 'a'));
    QTRY_COMPARE(flood.state(), QLocalSocket::UnconnectedState);
    QVERIFY(f.taken.isEmpty());
    // The program still serves everyone else.
    QCOMPARE(f.send("command stop\n"), InstanceClient::Outcome::Accepted);
    QCOMPARE(f.taken, (QList<Request>{{Kind::Command, "stop"}}));
}

QTEST_GUILESS_MAIN(TestInstanceServer)
#include "tst_instanceserver.moc"
