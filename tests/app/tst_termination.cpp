#include "FakeMediaPlayer.h"
#include "RealWait.h"
#include "RecordingDesktop.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "app/Startup.h"
#include "bookmarks/BookmarkController.h"
#include "core/AppState.h"
#include "core/ProgramFolder.h"
#include "core/SettingsFile.h"
#include "platform/Platform.h"
#include "player/PlayerWindow.h"

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstdio>

namespace {

constexpr char kChildMode[] = "--run-program";

// The program as it runs for a user, on the fake engine: a recording open, a bookmark added and
// an option changed in memory, then waiting until something ends it.
int runProgram(int argc, char** argv)
{
    QApplication app(argc, argv);
    AppState state;
    state.programFolder = QString::fromLocal8Bit(argv[2]);
    RecordingDialogs dialogs;
    RecordingDesktop desktop;
    FakeMediaPlayer engine;
    const Startup::Session session = Startup::start(state, Platform{&engine, &dialogs, &desktop},
                                                    QString::fromLocal8Bit(argv[3]));
    if (!session.player)
        return 3;
    engine.advance(75);
    if (!session.bookmarks->createBookmark(QStringLiteral("before the end")))
        return 4;
    TransportOptions options = session.player->playback()->options();
    options.skipSeconds = 17;
    session.player->playback()->setOptions(options);
    QTimer::singleShot(0, &app, [] {
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
    });
    const int status = Startup::exec(app, session);
    std::fprintf(stdout, "boxes %d\n", int(dialogs.messages.size()));
    return status;
}

} // namespace

class TestTermination : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void signalsEndTheProgramAfterItsSaves_data();
    void signalsEndTheProgramAfterItsSaves();
};

void TestTermination::signalsEndTheProgramAfterItsSaves_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
    QTest::newRow("SIGINT") << SIGINT;
}

void TestTermination::signalsEndTheProgramAfterItsSaves()
{
    QFETCH(int, signalNumber);
    TestFolder folder;
    folder.fillWithBundledData();
    folder.writeLanguage(QStringLiteral("English.lng"), QStringLiteral("en"));
    StoredSettings settings;
    settings.languageFile = QStringLiteral("English.lng");
    settings.jumpSeconds = 5;
    QVERIFY(SettingsFile::write(folder.filePath(QStringLiteral("Files/Vocarta.ini")), settings));
    folder.writeBytes(QStringLiteral("media/lesson.wav"), "RIFF");

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationFilePath(),
                  {QLatin1String(kChildMode), folder.path(),
                   folder.filePath(QStringLiteral("media/lesson.wav"))});
    QVERIFY(program.waitForStarted());
    QByteArray output;
    while (!output.contains("ready\n") && program.waitForReadyRead(30000))
        output += program.readAllStandardOutput();
    QVERIFY2(output.contains("ready\n"), output.constData());

    QCOMPARE(::kill(pid_t(program.processId()), signalNumber), 0);
    QVERIFY(program.waitForFinished(kRealWaitMs));
    output += program.readAllStandardOutput();

    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    // Nothing was asked of a user who is not there.
    QVERIFY2(output.contains("boxes 0\n"), output.constData());
    QVERIFY(folder.readBytes(QStringLiteral("Bookmarks/lesson.wav.bm"))
                .startsWith("00:01:15  before the end"));
    const auto saved = SettingsFile::read(folder.filePath(QStringLiteral("Files/Vocarta.ini")));
    QVERIFY(saved);
    QCOMPARE(saved->jumpSeconds, 17);
}

int main(int argc, char** argv)
{
    if (argc == 4 && qstrcmp(argv[1], kChildMode) == 0)
        return runProgram(argc, argv);
    QApplication app(argc, argv);
    TestTermination test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_termination.moc"
