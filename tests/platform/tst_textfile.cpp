#include "ShortOfSpaceFile.h"
#include "TestFolder.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const QString kFile = QStringLiteral("Files/Vocarta.ini");

QStringList oldLines()
{
    return {QStringLiteral("English.lng"), "80", "500"};
}

QStringList newLines()
{
    return QStringList(300, QStringLiteral("a line longer than the ones before it"));
}

QByteArray crlf(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

// A small file system of its own, mounted for one test and unmounted after it.
class SmallDisk {
public:
    SmallDisk()
    {
        QProcess mount;
        mount.start(QStringLiteral("mount"),
                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                     QStringLiteral("size=64k"), QStringLiteral("tmpfs"), m_dir.path()});
        if (!mount.waitForFinished() || mount.exitStatus() != QProcess::NormalExit ||
            mount.exitCode() != 0)
            m_refusal = QString::fromLocal8Bit(mount.readAllStandardError()).trimmed() +
                        mount.errorString();
        else
            m_mounted = true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_dir.path()});
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    QString refusal() const { return m_refusal; }
    QString filePath(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QStringList files() const
    {
        QStringList names = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        names.sort();
        return names;
    }

    // Takes every byte left; returns whether the disk reported itself full.
    bool fill() const
    {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(4096, 'x');
        for (int i = 0; i < 1000; ++i) {
            if (filler.write(block) != block.size())
                return true;
        }
        return false;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_refusal;
};

} // namespace

class TestTextFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsNoFurtherThanTheLimit_data();
    void readsNoFurtherThanTheLimit();
    void failedWritesKeepTheOldFile_data();
    void failedWritesKeepTheOldFile();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void textIsDecodedByItsMark_data();
    void textIsDecodedByItsMark();
};

void TestTextFile::readsNoFurtherThanTheLimit_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("whole");
    QTest::newRow("below the limit")
        << QByteArray("a\r\nb\r\n") << qint64(100) << QStringList{"a", "b"} << true;
    QTest::newRow("exactly the limit")
        << QByteArray("a\r\nb\r\n") << qint64(6) << QStringList{"a", "b"} << true;
    QTest::newRow("one byte beyond")
        << QByteArray("a\r\nb\r\nc") << qint64(6) << QStringList{"a", "b"} << false;
    QTest::newRow("cut inside a line")
        << QByteArray("abc\r\ndef\r\n") << qint64(7) << QStringList{"abc", "de"} << false;
    QTest::newRow("empty file, no room") << QByteArray() << qint64(0) << QStringList() << true;
}

void TestTextFile::readsNoFurtherThanTheLimit()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, limit);
    QFETCH(QStringList, lines);
    QFETCH(bool, whole);
    TestFolder folder;
    folder.writeBytes(kFile, bytes);
    bool readWhole = !whole;
    const auto read = readTextLines(folder.filePath(kFile), nullptr, limit, &readWhole);
    QVERIFY(read);
    QCOMPARE(*read, lines);
    QCOMPARE(readWhole, whole);
}

void TestTextFile::failedWritesKeepTheOldFile_data()
{
    QTest::addColumn<qint64>("room");
    QTest::addColumn<bool>("honest");
    QTest::addColumn<bool>("systemReason");
    QTest::newRow("no room at all") << qint64(0) << true << true;
    QTest::newRow("a short write, then the failure") << qint64(100) << true << true;
    QTest::newRow("every byte claimed, none written") << qint64(0) << false << false;
    QTest::newRow("every byte claimed, some written") << qint64(100) << false << false;
}

void TestTextFile::failedWritesKeepTheOldFile()
{
    QFETCH(qint64, room);
    QFETCH(bool, honest);
    QFETCH(bool, systemReason);
    TestFolder folder;
    const QString path = folder.filePath(kFile);
    QVERIFY(writeTextLines(path, oldLines()));

    ShortOfSpaceFile file(path, room, honest);
    QString error;
    QVERIFY(!writeTextLines(file, newLines(), &error));
    if (systemReason)
        QCOMPARE(error, noSpace());
    else
        QVERIFY2(!error.isEmpty(), "no reason given");
    QCOMPARE(folder.readBytes(kFile), crlf(oldLines()));
    QCOMPARE(QDir(folder.filePath(QStringLiteral("Files"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("Vocarta.ini")});

    ShortOfSpaceFile roomy(path, 1 << 20, honest);
    QVERIFY2(writeTextLines(roomy, newLines(), &error), qPrintable(error));
    QCOMPARE(folder.readBytes(kFile), crlf(newLines()));
}

void TestTextFile::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<bool>("oldFile");
    QTest::newRow("replacing a file") << true;
    QTest::newRow("a new file") << false;
}

void TestTextFile::fullDiskKeepsTheOldFile()
{
    QFETCH(bool, oldFile);
    SmallDisk disk;
    if (!disk.mounted())
        QSKIP(qPrintable(QStringLiteral("a small file system cannot be mounted here: ") +
                         disk.refusal()));
    const QString path = disk.filePath(QStringLiteral("Vocarta.ini"));
    if (oldFile)
        QVERIFY(writeTextLines(path, oldLines()));
    QVERIFY(disk.fill());

    QString error;
    QVERIFY(!writeTextLines(path, newLines(), &error));
    QCOMPARE(error, noSpace());
    QStringList expected{QStringLiteral("filler")};
    if (oldFile) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), crlf(oldLines()));
        expected << QStringLiteral("Vocarta.ini");
    }
    expected.sort();
    QCOMPARE(disk.files(), expected);

    QVERIFY(QFile::remove(disk.filePath(QStringLiteral("filler"))));
    QVERIFY2(writeTextLines(path, newLines(), &error), qPrintable(error));
}

void TestTextFile::onlyRegularFilesAreRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a FIFO") << QStringLiteral("fifo");
    QTest::newRow("a device that never ends") << QStringLiteral("/dev/zero");
    QTest::newRow("a folder") << QStringLiteral("folder");
}

void TestTextFile::onlyRegularFilesAreRead()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path = kind;
    if (kind == QLatin1String("fifo")) {
        path = dir.filePath(QStringLiteral("pipe"));
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (kind == QLatin1String("folder")) {
        path = dir.path();
    } else if (!QFileInfo::exists(path)) {
        QSKIP("no /dev/zero here");
    }
    // A reader stuck waiting for the FIFO's writer is let go after a while, so that a failure
    // shows as one instead of a test that never ends.
    std::atomic_bool done = false;
    std::thread releaser([&] {
        for (int i = 0; !done; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (i < 40)
                continue;
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    });

    QElapsedTimer clock;
    clock.start();
    QString wholeError;
    const auto whole = kind == QLatin1String("/dev/zero") ? std::optional<QByteArray>()
                                                          : readFileWhole(path, &wholeError);
    QString linesError;
    const auto lines = readTextLines(path, &linesError);
    const qint64 took = clock.elapsed();
    done = true;
    releaser.join();

    QVERIFY(!lines);
    QVERIFY(!linesError.isEmpty());
    if (kind != QLatin1String("/dev/zero")) {
        QVERIFY(!whole);
        QVERIFY(!wholeError.isEmpty());
    }
    QVERIFY2(took < 1000, qPrintable(QStringLiteral("took %1 ms").arg(took)));
}

void TestTextFile::textIsDecodedByItsMark_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text"); // empty: binary data
    const QString word = QStringLiteral("Zoë\r\nЖ");
    const auto utf16 = [&](QStringEncoder::Encoding encoding) {
        return QByteArray(QStringEncoder(encoding, QStringEncoder::Flag::WriteBom)(word));
    };
    QTest::newRow("UTF-8") << word.toUtf8() << word;
    QTest::newRow("UTF-8 with a mark") << utf16(QStringEncoder::Utf8) << word;
    QTest::newRow("UTF-16 LE") << utf16(QStringEncoder::Utf16LE) << word;
    QTest::newRow("UTF-16 BE") << utf16(QStringEncoder::Utf16BE) << word;
    QTest::newRow("Windows-1252") << QByteArray("Zo\xEB") << QStringLiteral("Zoë");
    QTest::newRow("ELF") << QByteArray("\x7F"
                                       "ELF\x02\x01\x01\0\0\0",
                                       10)
                         << QString();
    QTest::newRow("UTF-16 of NULs") << QByteArray("\xFF\xFE"
                                                  "A\0\0\0\0\0",
                                                  8)
                                    << QString();
}

void TestTextFile::textIsDecodedByItsMark()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(isBinaryData(bytes), text.isEmpty());
    if (!text.isEmpty())
        QCOMPARE(decodeText(bytes), text);
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
