#include "TestFolder.h"
#include "core/Timestamp.h"
#include "core/TimestampOptions.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using Timestamp::Style;

Q_DECLARE_METATYPE(Style)

class TestTimestamp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void formats_data();
    void formats();
    void recognises_data();
    void recognises();
    void everyStyleReadsBackWhatItWrites();
    void findsTheTimestampAtOrBeforeThePosition_data();
    void findsTheTimestampAtOrBeforeThePosition();
    void findsAcrossParagraphsOfADocument();
    void optionsFileKeepsTheChoices();
    void optionsFileToleratesWhatItCannotRead();
};

void TestTimestamp::formats_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<Style>("style");
    QTest::addColumn<QString>("expected");

    const struct {
        const char* name;
        double seconds;
        const char* hms;
        const char* tenths;
        const char* minutes;
        const char* hash;
    } rows[] = {
        {"0 s", 0, "[00:00:00]", "[00:00:00.0]", "[00:00]", "#00:00:00.00#"},
        // Cut, never rounded up into the next second, minute or hour.
        {"59.95 s", 59.95, "[00:00:59]", "[00:00:59.9]", "[00:59]", "#00:00:59.95#"},
        {"3599.9 s", 3599.9, "[00:59:59]", "[00:59:59.9]", "[59:59]", "#00:59:59.90#"},
        {"beyond 10 h", 37230.56, "[10:20:30]", "[10:20:30.5]", "[620:30]", "#10:20:30.56#"},
        {"before the start", -3, "[00:00:00]", "[00:00:00.0]", "[00:00]", "#00:00:00.00#"},
    };
    for (const auto& row : rows) {
        QTest::addRow("%s [HH:MM:SS]", row.name)
            << row.seconds << Style::HoursMinutesSeconds << QString::fromLatin1(row.hms);
        QTest::addRow("%s [HH:MM:SS.d]", row.name)
            << row.seconds << Style::Tenths << QString::fromLatin1(row.tenths);
        QTest::addRow("%s [MM:SS]", row.name)
            << row.seconds << Style::MinutesSeconds << QString::fromLatin1(row.minutes);
        QTest::addRow("%s #HH:MM:SS.dd#", row.name)
            << row.seconds << Style::HashHundredths << QString::fromLatin1(row.hash);
    }
}

void TestTimestamp::formats()
{
    QFETCH(double, seconds);
    QFETCH(Style, style);
    QFETCH(QString, expected);
    QCOMPARE(Timestamp::formatSeconds(seconds, style), expected);
}

void TestTimestamp::recognises_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("milliseconds"); // -1: no timestamp

    QTest::newRow("[HH:MM:SS]") << "[01:02:03]" << qint64(3723000);
    QTest::newRow("[H:MM:SS]") << "[1:02:03]" << qint64(3723000);
    QTest::newRow("[HHH:MM:SS]") << "[100:00:01]" << qint64(360001000);
    QTest::newRow("[HH:MM:SS.d]") << "[00:00:59.9]" << qint64(59900);
    QTest::newRow("[MM:SS]") << "[62:03]" << qint64(3723000);
    QTest::newRow("[MMM:SS]") << "[620:30]" << qint64(37230000);
    QTest::newRow("#HH:MM:SS.dd#") << "#00:59:59.90#" << qint64(3599900);
    QTest::newRow("#HH:MM:SS#") << "#00:00:05#" << qint64(5000);
    QTest::newRow("[12:3]") << "[12:3]" << qint64(-1);
    QTest::newRow("[99:99:99]") << "[99:99:99]" << qint64(-1);
    QTest::newRow("[00:60]") << "[00:60]" << qint64(-1);
    QTest::newRow("1:23") << "1:23" << qint64(-1);
    QTest::newRow("[1:23]") << "[1:23]" << qint64(-1);
    QTest::newRow("#MM:SS#") << "#12:34#" << qint64(-1);
    QTest::newRow("unclosed") << "[00:00:01" << qint64(-1);
    QTest::newRow("wrong close") << "[00:00:01#" << qint64(-1);
    QTest::newRow("four groups") << "[1:02:03:04]" << qint64(-1);
    QTest::newRow("empty fraction") << "[00:00:01.]" << qint64(-1);
    QTest::newRow("long fraction") << "[00:00:01.1234]" << qint64(-1);
    QTest::newRow("hours too long") << "[1000:00:00]" << qint64(-1);
    QTest::newRow("plain brackets") << "[note]" << qint64(-1);
    QTest::newRow("a number alone") << "[12]" << qint64(-1);
}

void TestTimestamp::recognises()
{
    QFETCH(QString, text);
    QFETCH(qint64, milliseconds);
    const auto found = Timestamp::parseAt(text, 0);
    if (milliseconds < 0) {
        QVERIFY(!found);
        return;
    }
    QVERIFY(found);
    QCOMPARE(found->milliseconds, milliseconds);
    QCOMPARE(found->length, text.size());
}

void TestTimestamp::everyStyleReadsBackWhatItWrites()
{
    for (int i = 0; i < Timestamp::kStyleCount; ++i) {
        const auto style = Style(i);
        QCOMPARE(Timestamp::styleOfPattern(Timestamp::pattern(style)), style);
        for (qint64 ms : {qint64(0), qint64(59950), qint64(3599900), qint64(37230560)}) {
            const QString written = Timestamp::format(ms, style);
            const auto found = Timestamp::parseAt(written, 0);
            QVERIFY2(found, qPrintable(written));
            // Read back as far as the style is precise.
            const qint64 unit = style == Style::Tenths           ? 100
                                : style == Style::HashHundredths ? 10
                                                                 : 1000;
            QCOMPARE(found->milliseconds, ms / unit * unit);
        }
    }
}

void TestTimestamp::findsTheTimestampAtOrBeforeThePosition_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("start"); // -1: none

    // "intro [00:00:10] one #00:00:20.00# two"
    //  0     6          17  21              36
    QTest::newRow("before any") << 3 << -1;
    QTest::newRow("on the first's opening") << 6 << 6;
    QTest::newRow("inside the first") << 10 << 6;
    QTest::newRow("after the first") << 19 << 6;
    QTest::newRow("inside the second") << 25 << 21;
    QTest::newRow("at the end") << 40 << 21;
    QTest::newRow("beyond the end") << 400 << 21;
}

void TestTimestamp::findsTheTimestampAtOrBeforeThePosition()
{
    QFETCH(int, position);
    QFETCH(int, start);
    const QString text = QStringLiteral("intro [00:00:10] one #00:00:20.00# two");
    const auto found = Timestamp::findAtOrBefore(text, position);
    QCOMPARE(found ? int(found->start) : -1, start);
}

void TestTimestamp::findsAcrossParagraphsOfADocument()
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("[00:01:00] first\nno stamp here\n\nlast [bad] line"));
    const auto inLast = Timestamp::findAtOrBefore(document, document.characterCount() - 1);
    QVERIFY(inLast);
    QCOMPARE(inLast->start, qsizetype(0));
    QCOMPARE(inLast->milliseconds, qint64(60000));

    QTextCursor(&document).insertText(QStringLiteral("x"));
    QVERIFY(!Timestamp::findAtOrBefore(document, 0));
    QCOMPARE(Timestamp::findAtOrBefore(document, 1)->start, qsizetype(1));
}

void TestTimestamp::optionsFileKeepsTheChoices()
{
    TestFolder folder;
    const QString path = folder.filePath(QStringLiteral("Files/Timestamps.ini"));
    QCOMPARE(TimestampOptions::read(path), TimestampOptions{});

    const TimestampOptions chosen{Style::HashHundredths, true, true};
    QVERIFY(chosen.write(path));
    QCOMPARE(folder.readBytes(QStringLiteral("Files/Timestamps.ini")),
             QByteArray("Format=#HH:MM:SS.dd#\r\nNewParagraph=yes\r\nAfterStepBack=yes\r\n"));
    QCOMPARE(TimestampOptions::read(path), chosen);
}

void TestTimestamp::optionsFileToleratesWhatItCannotRead()
{
    const TimestampOptions read = TimestampOptions::parse(
        {QStringLiteral("format = [mm:ss] "), QStringLiteral("NewParagraph=perhaps"),
         QStringLiteral("garbage"), QStringLiteral("Unknown=1")});
    QCOMPARE(read.style, Style::MinutesSeconds);
    QCOMPARE(read.stampNewParagraphs, false);
    QCOMPARE(TimestampOptions::parse({QStringLiteral("Format=[HH:MM]")}).style,
             Timestamp::kDefaultStyle);
}

QTEST_GUILESS_MAIN(TestTimestamp)
#include "tst_timestamp.moc"
