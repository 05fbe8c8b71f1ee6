#include "platform/InstanceLock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Another process that takes the claim, tells it has, and then either ends at once (a crash
// leaves the file behind) or holds on until it is killed.
class OtherProcess {
public:
    OtherProcess(const QString& path, bool staysAlive)
    {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(pipeEnds[0]);
            const auto lock = InstanceLock::claim(path);
            const char taken = lock ? 'y' : 'n';
            [[maybe_unused]] const ssize_t told = ::write(pipeEnds[1], &taken, 1);
            if (staysAlive)
                ::pause();
            ::_exit(0);
        }
        ::close(pipeEnds[1]);
        char taken = 'n';
        m_took = ::read(pipeEnds[0], &taken, 1) == 1 && taken == 'y';
        ::close(pipeEnds[0]);
        if (!staysAlive)
            end();
    }
    ~OtherProcess() { end(); }

    bool took() const { return m_took; }

private:
    void end()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

    pid_t m_pid = -1;
    bool m_took = false;
};

} // namespace

class TestInstanceLock : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void claimIsExclusiveWhileHeld();
    void otherProcesses_data();
    void otherProcesses();
    void noFileNoClaim();
};

void TestInstanceLock::claimIsExclusiveWhileHeld()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("vocarta.lock"));
    QVERIFY(!InstanceLock::isHeld(path));

    auto lock = InstanceLock::claim(path);
    QVERIFY(lock);
    QVERIFY(InstanceLock::isHeld(path));
    // A second claim fails even within the process, as a second start would.
    QVERIFY(!InstanceLock::claim(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray::number(::getpid()) + '\n');
    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
    QCOMPARE(status.st_mode & 0777, 0600u);

    lock.reset();
    QVERIFY(!InstanceLock::isHeld(path));
    QVERIFY(InstanceLock::claim(path));
}

void TestInstanceLock::otherProcesses_data()
{
    QTest::addColumn<bool>("staysAlive");
    QTest::newRow("running") << true;
    QTest::newRow("crashed, its file left behind") << false;
}

void TestInstanceLock::otherProcesses()
{
    QFETCH(bool, staysAlive);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("vocarta.lock"));

    const OtherProcess other(path, staysAlive);
    QVERIFY(other.took());
    QVERIFY(QFile::exists(path));

    QCOMPARE(InstanceLock::isHeld(path), staysAlive);
    QCOMPARE(bool(InstanceLock::claim(path)), !staysAlive);
}

void TestInstanceLock::noFileNoClaim()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("missing/vocarta.lock"));
    QVERIFY(!InstanceLock::isHeld(path));
    QVERIFY(!InstanceLock::claim(path));
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "tst_instancelock.moc"
