#include "FakeMediaPlayer.h"
#include "RealWait.h"
#include "mock/TestMedia.h"
#include "startup/DeferredMediaPlayer.h"
#include "startup/LibraryDependencies.h"
#include "startup/MediaEngineLoader.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <dlfcn.h>

namespace {

// The module as the build made it, beside the program.
const QFileInfo Module(QStringLiteral(VOCARTA_ENGINE_MODULE));
const MediaEngineModule::Options NullOutput{.nullOutput = true};

bool isLoaded(const QString& name)
{
    return dlopen(QFile::encodeName(name).constData(), RTLD_LAZY | RTLD_NOLOAD) != nullptr;
}

// The file name a load-order entry stands for.
QString fileNameOf(const QString& entry)
{
    return QFileInfo(entry).fileName();
}

} // namespace

class TestMediaEngineLoader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void loadOrderPutsLibrariesAfterWhatTheyNeed();
    void loadOrderFindsWhatTheDynamicLoaderFinds();
    void loadOrderOfWhatIsNoLibrary_data();
    void loadOrderOfWhatIsNoLibrary();
    void loadEachLoadsTheLibraries();
    void loadedModulePlaysTheFileGivenBefore();
    void missingOrBrokenModule_data();
    void missingOrBrokenModule();
    void loaderEndedWhileLoading();
    void linkedEngine();

private:
    QString pathOf(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TestMediaEngineLoader::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(Module.exists(), qPrintable(Module.filePath()));
    QVERIFY(TestMedia::writeTone(pathOf("tone.wav"), 1.5));
}

void TestMediaEngineLoader::loadOrderPutsLibrariesAfterWhatTheyNeed()
{
    const QStringList order = LibraryDependencies::loadOrder(Module.filePath());
    QStringList names;
    for (const QString& entry : order)
        names << fileNameOf(entry);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
    QVERIFY(!names.contains(Module.fileName()));
    // What this test has loaded already (Qt, the C library) is left out.
    for (const QString& entry : order)
        QVERIFY2(!isLoaded(entry), qPrintable(entry));

    // Each library of the chain needs the one before it.
    const QStringList chain = {"libavutil.so.", "libavcodec.so.", "libavformat.so.", "libmpv.so."};
    qsizetype previous = -1;
    for (const QString& prefix : chain) {
        const auto found = std::find_if(names.begin(), names.end(), [&](const QString& name) {
            return name.startsWith(prefix);
        });
        QVERIFY2(found != names.end(), qPrintable(prefix));
        const qsizetype index = found - names.begin();
        QVERIFY2(index > previous, qPrintable(prefix + QStringLiteral(" comes too early")));
        previous = index;
    }
}

void TestMediaEngineLoader::loadOrderFindsWhatTheDynamicLoaderFinds()
{
    if (QStandardPaths::findExecutable(QStringLiteral("ldd")).isEmpty())
        QSKIP("ldd is not installed");
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {Module.filePath()});
    QVERIFY(ldd.waitForFinished(kRealWaitMs));
    QSet<QString> expected;
    // "libmpv.so.2 => /lib/x86_64-linux-gnu/libmpv.so.2 (0x...)", and the dynamic loader itself
    // as "/lib64/ld-linux-x86-64.so.2 (0x...)".
    for (const QByteArray& line : ldd.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() >= 3 && words[1] == "=>" && words[2].startsWith('/'))
            expected << QString::fromLocal8Bit(words[0]);
        else if (words.size() == 2 && words[0].startsWith('/'))
            expected << fileNameOf(QString::fromLocal8Bit(words[0]));
    }
    QVERIFY(expected.size() > 10);

    QSet<QString> found;
    for (const QString& entry : LibraryDependencies::loadOrder(Module.filePath()))
        found << fileNameOf(entry);
    QVERIFY(!found.isEmpty());
    QCOMPARE(found - expected, QSet<QString>());
    // The rest is what this process has loaded already.
    for (const QString& name : expected - found)
        QVERIFY2(isLoaded(name), qPrintable(name + QStringLiteral(" is missing")));
}

void TestMediaEngineLoader::loadOrderOfWhatIsNoLibrary_data()
{
    QTest::addColumn<QByteArray>("bytes"); // "-": no file
    QFile module(Module.filePath());
    QVERIFY(module.open(QIODevice::ReadOnly));
    const QByteArray library = module.readAll();
    QTest::newRow("no file") << QByteArray("-");
    QTest::newRow("text") << QByteArray("not a library\n");
    QTest::newRow("the header alone") << library.left(64);
    QTest::newRow("cut after the segment table") << library.left(4096);
    QByteArray wrongClass = library;
    wrongClass[4] = char(wrongClass[4] == 2 ? 1 : 2); // 32 bits for 64, 64 for 32
    QTest::newRow("another word size") << wrongClass;
}

void TestMediaEngineLoader::loadOrderOfWhatIsNoLibrary()
{
    QFETCH(QByteArray, bytes);
    const QString path = pathOf("not-a-library.so");
    QFile::remove(path);
    if (bytes != "-") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QCOMPARE(LibraryDependencies::loadOrder(path), QStringList());
}

void TestMediaEngineLoader::loadEachLoadsTheLibraries()
{
    QStringList order = LibraryDependencies::loadOrder(Module.filePath());
    const auto mpv = std::find_if(order.begin(), order.end(), [](const QString& entry) {
        return fileNameOf(entry).startsWith(QStringLiteral("libmpv.so."));
    });
    QVERIFY(mpv != order.end());
    QVERIFY2(!isLoaded(*mpv), "this test does not link libmpv");
    // One that cannot be loaded does not keep the others from loading.
    order.prepend(QStringLiteral("libvocarta-no-such-library.so.1"));

    LibraryDependencies::loadEach(order);
    for (const QString& entry : order.mid(1))
        QVERIFY2(isLoaded(entry), qPrintable(entry));
    QVERIFY(!isLoaded(order.first()));
}

void TestMediaEngineLoader::loadedModulePlaysTheFileGivenBefore()
{
    DeferredMediaPlayer player;
    QSignalSpy attached(&player, &DeferredMediaPlayer::engineAttached);
    QSignalSpy unavailable(&player, &MediaPlayer::engineUnavailable);
    QSignalSpy mediaErrors(&player, &MediaPlayer::mediaError);
    MediaEngineLoader loader(player);
    loader.start({pathOf("elsewhere"), Module.absolutePath()}, Module.fileName(), NullOutput);
    QVERIFY(loader.isLoading());
    // As the player opens a file given on the command line; the engine is made on this thread,
    // so it cannot be there before the event loop runs.
    player.setUrl(pathOf("tone.wav"));
    player.setCurrentPosition(0);
    player.pause();
    player.play();
    QCOMPARE(player.playState(), MediaPlayer::State::Busy);

    QVERIFY(attached.wait(kRealWaitMs));
    QVERIFY(!loader.isLoading());
    QCOMPARE(unavailable.count(), 0);
    QVERIFY(player.isEngineAvailable());
    QCOMPARE(player.engine()->metaObject()->className(), "MpvMediaPlayer");
    QCOMPARE(player.url(), pathOf("tone.wav"));
    QTRY_VERIFY_WITH_TIMEOUT(player.playState() == MediaPlayer::State::Playing &&
                                 player.currentPosition() > 0.2,
                             kRealWaitMs);
    QCOMPARE(player.durationString(), QStringLiteral("00:01"));
    QVERIFY(qAbs(player.duration() - 1.5) < 0.1);
    QCOMPARE(mediaErrors.count(), 0);
}

void TestMediaEngineLoader::missingOrBrokenModule_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("reasonNames"); // what the reason must name
    QTest::newRow("in no folder") << pathOf("empty") << Module.fileName() << Module.fileName();
    QTest::newRow("not a library")
        << pathOf("broken") << "vocarta-engine.so" << pathOf("broken/vocarta-engine.so");
    QTest::newRow("a library without the factory")
        << QLibraryInfo::path(QLibraryInfo::LibrariesPath) << "libQt6Core.so.6"
        << MediaEngineModule::kFactoryName;
}

void TestMediaEngineLoader::missingOrBrokenModule()
{
    QFETCH(QString, folder);
    QFETCH(QString, fileName);
    QFETCH(QString, reasonNames);
    QDir().mkpath(pathOf("empty"));
    QDir().mkpath(pathOf("broken"));
    QFile text(pathOf("broken/vocarta-engine.so"));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a library\n") > 0);
    text.close();

    DeferredMediaPlayer player;
    QSignalSpy unavailable(&player, &MediaPlayer::engineUnavailable);
    QSignalSpy mediaErrors(&player, &MediaPlayer::mediaError);
    MediaEngineLoader loader(player);
    loader.start({folder}, fileName, NullOutput);
    player.setUrl(pathOf("tone.wav"));
    player.play();

    QVERIFY(unavailable.wait(kRealWaitMs));
    QVERIFY(!loader.isLoading());
    const QString reason = unavailable.first().first().toString();
    QVERIFY2(reason.startsWith(QStringLiteral("the media engine could not be loaded: ")),
             qPrintable(reason));
    QVERIFY2(reason.contains(reasonNames), qPrintable(reason));
    QVERIFY(!player.isEngineAvailable());
    QCOMPARE(player.engineUnavailableReason(), reason);
    QCOMPARE(mediaErrors.count(), 1);
    QCOMPARE(mediaErrors.first().first().toString(),
             QStringLiteral("Cannot play tone.wav: ") + reason);
    QCOMPARE(player.playState(), MediaPlayer::State::Undefined);
    QTest::qWait(50); // nothing more is coming
    QCOMPARE(unavailable.count(), 1);
    QCOMPARE(mediaErrors.count(), 1);
}

void TestMediaEngineLoader::loaderEndedWhileLoading()
{
    DeferredMediaPlayer player;
    {
        MediaEngineLoader loader(player);
        loader.start({Module.absolutePath()}, Module.fileName(), NullOutput);
        player.setUrl(pathOf("tone.wav"));
    }
    // Its result, due on the event loop, went with it.
    QTest::qWait(50);
    QVERIFY(player.isWaiting());
    QCOMPARE(player.playState(), MediaPlayer::State::Busy);
}

// Linked code needs no module; the engine still comes after the commands given meanwhile.
void TestMediaEngineLoader::linkedEngine()
{
    DeferredMediaPlayer player;
    MediaEngineLoader loader(player);
    loader.start({pathOf("empty")}, Module.fileName(), NullOutput,
                 [](const MediaEngineModule::Options&, QString*) -> MediaPlayer* {
                     return new FakeMediaPlayer;
                 });
    player.setUrl(pathOf("tone.wav"));
    QVERIFY(loader.isLoading() && player.isWaiting());
    QTRY_VERIFY_WITH_TIMEOUT(!loader.isLoading(), kRealWaitMs);
    const auto* engine = qobject_cast<FakeMediaPlayer*>(player.engine());
    QVERIFY2(engine, qPrintable(player.engineUnavailableReason()));
    QCOMPARE(engine->calls, QStringList{QStringLiteral("url ") + pathOf("tone.wav")});
}

QTEST_GUILESS_MAIN(TestMediaEngineLoader)
#include "tst_mediaengineloader.moc"
