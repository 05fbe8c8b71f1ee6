#include "remote/CommandLineOptions.h"
#include "remote/RemoteCommand.h"
#include "remote/RemoteMessage.h"

#include <QTest>

using RemoteMessage::Request;
using Kind = RemoteMessage::Request::Kind;

class TestRemoteMessage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void openCarriesAnyFileName_data();
    void openCarriesAnyFileName();
    void everyCommandIsListedAndFound();
};

void TestRemoteMessage::parse_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("argument");
    QTest::newRow("command") << QByteArray("command play-pause") << true << int(Kind::Command)
                             << "play-pause";
    QTest::newRow("open") << QByteArray("open file:///home/ada/a%20b.wav") << true
                          << int(Kind::Open) << "/home/ada/a b.wav";
    QTest::newRow("empty") << QByteArray() << false << 0 << "";
    QTest::newRow("unknown verb") << QByteArray("quit now") << false << 0 << "";
    QTest::newRow("verb without space") << QByteArray("commandplay") << false << 0 << "";
    QTest::newRow("command name with a space")
        << QByteArray("command play pause") << false << 0 << "";
    QTest::newRow("command name in capitals") << QByteArray("command STOP") << false << 0 << "";
    QTest::newRow("empty command name") << QByteArray("command ") << false << 0 << "";
    QTest::newRow("bytes that are not UTF-8") << QByteArray("command \xff\xfe") << false << 0 << "";
    QTest::newRow("web address") << QByteArray("open https://example.org/a.wav") << false << 0
                                 << "";
    QTest::newRow("file on another host")
        << QByteArray("open file://server/share/a.wav") << false << 0 << "";
    QTest::newRow("relative path") << QByteArray("open a.wav") << false << 0 << "";
    QTest::newRow("zero byte in the path")
        << QByteArray("open file:///tmp/a%00b.wav") << false << 0 << "";
    QTest::newRow("path bytes that are not UTF-8")
        << QByteArray("open file:///tmp/a\xff.wav") << false << 0 << "";
    QTest::newRow("UTF-8 cut short") << QByteArray("open file:///tmp/a\xd0") << false << 0 << "";
    QTest::newRow("carriage return after a path")
        << QByteArray("open file:///tmp/a.wav\r") << false << 0 << "";
    QTest::newRow("overlong") << QByteArray("command ") +
                                     QByteArray(RemoteMessage::kMaxLineBytes, 'a')
                              << false << 0 << "";
}

void TestRemoteMessage::parse()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, valid);
    QFETCH(int, kind);
    QFETCH(QString, argument);
    const auto request = RemoteMessage::parse(line);
    QCOMPARE(request.has_value(), valid);
    if (valid)
        QCOMPARE(*request, (Request{Kind(kind), argument}));
}

void TestRemoteMessage::openCarriesAnyFileName_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("spaces and accents") << QStringLiteral("/tmp/lezione è 1.mp3");
    QTest::newRow("line feed") << QStringLiteral("/tmp/two\nlines.wav");
    QTest::newRow("percent and hash") << QStringLiteral("/tmp/100% #1?.wav");
    // As long as the file system allows: 4,095 bytes.
    QTest::newRow("longest Cyrillic path") << QStringLiteral("/") + QString(2047, QChar(0x0416));
    QTest::newRow("longest path of percents") << QStringLiteral("/") + QString(4094, u'%');
}

void TestRemoteMessage::openCarriesAnyFileName()
{
    QFETCH(QString, path);
    QByteArray line = RemoteMessage::open(path);
    QVERIFY(line.endsWith('\n'));
    line.chop(1);
    QVERIFY2(!line.contains('\n'), line.constData());
    QCOMPARE(RemoteMessage::parse(line), (Request{Kind::Open, path}));
}

void TestRemoteMessage::everyCommandIsListedAndFound()
{
    const QString help = CommandLineOptions::helpText();
    QStringList names;
    for (const RemoteCommand& command : remoteCommands()) {
        const QString name = QLatin1String(command.name);
        names << name;
        QVERIFY2(help.contains(QStringLiteral("  ") + name + QStringLiteral(" ")),
                 qPrintable(name));
        QCOMPARE(findRemoteCommand(name), &command);
        // The name travels as a request.
        QByteArray line = RemoteMessage::command(name);
        line.chop(1);
        QCOMPARE(RemoteMessage::parse(line), (Request{Kind::Command, name}));
    }
    QCOMPARE(names, (QStringList{"play-pause",
                                 "stop",
                                 "skip-back",
                                 "skip-forward",
                                 "slower",
                                 "faster",
                                 "loop",
                                 "loop-start",
                                 "loop-end",
                                 "add-bookmark",
                                 "next-bookmark",
                                 "previous-bookmark",
                                 "insert-timestamp",
                                 "copy-timestamp",
                                 "follow",
                                 "clean-up",
                                 "channels-both",
                                 "channels-left",
                                 "channels-right",
                                 "channels-mono",
                                 "boost-up",
                                 "boost-down",
                                 "speech-normaliser",
                                 "noise-reduction",
                                 "high-pass"}));
    QVERIFY(!findRemoteCommand(u"pause"));
}

QTEST_GUILESS_MAIN(TestRemoteMessage)
#include "tst_remotemessage.moc"
