#include "rtf/RtfReader.h"
#include "transcript/SubtitleCues.h"
#include "transcript/SubtitleImport.h"
#include "transcript/TranscriptSegments.h"

#include <QFile>
#include <QTest>
#include <QTextDocument>

Q_DECLARE_METATYPE(Segment)

namespace {

QByteArray corpus(const char* name)
{
    QFile file(QStringLiteral(TRANSCRIPT_CORPUS_DIR "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "preamble | start-end speaker: text | ..."
QString describe(const SegmentList& list)
{
    QStringList parts{list.preamble};
    for (const Segment& s : list.segments)
        parts << QStringLiteral("%1-%2 %3: %4").arg(s.start).arg(s.end).arg(s.speaker, s.text);
    return parts.join(QLatin1String(" | ")).replace(QLatin1Char('\n'), QLatin1Char('/'));
}

} // namespace

class TestTranscriptSegments : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void segments_data();
    void segments();
    void segmentsOfAFormattedTranscript();
    void cuesFitTheScreenAndTheTime_data();
    void cuesFitTheScreenAndTheTime();
    void subtitlesOpenAsParagraphs_data();
    void subtitlesOpenAsParagraphs();
};

void TestTranscriptSegments::segments_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("duration"); // -1: unknown
    QTest::addColumn<QString>("expected");

    QTest::newRow("next timestamp ends; reading time ends the last")
        << "[00:00:01] one\n[00:00:04] two" << qint64(-1) << " | 1000-4000 : one | 4000-5000 : two";
    QTest::newRow("media's end ends the last")
        << "[00:00:01] one" << qint64(9000) << " | 1000-9000 : one";
    QTest::newRow("media ended before it: reading time")
        << "[00:00:10] one" << qint64(9000) << " | 10000-11000 : one";
    QTest::newRow("long text reads longer")
        << "[00:01] " + QString(45, QLatin1Char('a')) << qint64(-1)
        << " | 1000-4000 : " + QString(45, QLatin1Char('a'));
    QTest::newRow("bare timestamp is an end, not a segment")
        << "[00:00:01] one\n[00:00:03]\n[00:00:07] two [00:00:08]  " << qint64(60000)
        << " | 1000-3000 : one | 7000-8000 : two";
    QTest::newRow("preamble kept, paragraphs joined")
        << "Title\n\n  Place \n[00:00:02] a\n\nb\n#00:00:05.25#c" << qint64(-1)
        << "Title/Place | 2000-5250 : a/b | 5250-6250 : c";
    QTest::newRow("timestamps in one paragraph; backwards ones get reading time")
        << "[00:00:09] x [00:00:02] y" << qint64(-1) << " | 9000-10000 : x | 2000-3000 : y";
    QTest::newRow("speaker labels")
        << "[00:01] ANSWER: yes\n[00:02] INTERVIEWEUR : oui\n[00:03]Dr. Maria Rossi:\nok\n"
           "[00:04] at 12:30 we\n[00:05] one two three four: no\n[00:06] Why? Because: no\n"
           "[00:07] see http://x"
        << qint64(8000)
        << " | 1000-2000 ANSWER: yes | 2000-3000 INTERVIEWEUR: oui | 3000-4000 Dr. Maria Rossi: ok"
           " | 4000-5000 : at 12:30 we | 5000-6000 : one two three four: no"
           " | 6000-7000 : Why? Because: no | 7000-8000 : see http://x";
    QTest::newRow("no timestamps: all preamble") << "just text" << qint64(-1) << "just text";
}

void TestTranscriptSegments::segments()
{
    QFETCH(QString, text);
    QFETCH(qint64, duration);
    QFETCH(QString, expected);
    QCOMPARE(describe(TranscriptSegments::split(
                 text, duration < 0 ? std::nullopt : std::optional<qint64>(duration))),
             expected);
}

void TestTranscriptSegments::segmentsOfAFormattedTranscript()
{
    QTextDocument document;
    RtfReader::read(corpus("interview.rtf"), &document);
    QCOMPARE(describe(TranscriptSegments::split(document)),
             "Interview with M. Rossi/Recorded in Milan."
             " | 5000-9000 INTERVIEWER: Good morning. Thank you for coming."
             " | 9000-31000 ANSWER: It is a pleasure, really. We met once before, in Rome, long "
             "ago; the city was quieter then, and the trains ran slower than they do now."
             " | 40000-62000 : First point/Second point | 62000-63000 : Café ends.");
    QCOMPARE(TranscriptSegments::withoutTimestamps(TranscriptSegments::plainText(document))
                 .split(QLatin1Char('\n'))
                 .mid(2, 3),
             QStringList({"INTERVIEWER: Good morning. Thank you for coming.",
                          "ANSWER: It is a pleasure, really. We met once before, in Rome, long "
                          "ago; the city was quieter then, and the trains ran slower than they "
                          "do now.",
                          "First point"}));
}

void TestTranscriptSegments::cuesFitTheScreenAndTheTime_data()
{
    QTest::addColumn<QList<Segment>>("segments");
    QTest::addColumn<QString>("expected"); // the first cues: "start-end line/line"

    const QString sentences = QStringLiteral(
        "It was late. We walked home along the river, talking about the concert, the crowd "
        "and the rain; nobody had an umbrella.");
    QTest::newRow("sentence, then clause for time, times by length")
        << QList<Segment>{{0, 20000, QString(), sentences}}
        << "0-2086 It was late. | 2086-7478 We walked home along the river, | 7478-12000 "
           "talking about the concert, | 12000-16000 the crowd and the rain; | 16000-20000 nobody "
           "had an umbrella.";
    QTest::newRow("words when too long for the screen; the label stays with its words")
        << QList<Segment>{{1000, 5000, QStringLiteral("ANNA"),
                           QString(30, QLatin1Char('w')) + QStringLiteral(" word").repeated(14)}}
        << "1000-2942 ANNA: wwwwwwwwwwwwwwwwwwwwwwwwwwwwww/word word word | "
           "2942-5000 word word word word word word/word word word word word";
    QTest::newRow("a word longer than the lines after a label is cut")
        << QList<Segment>{{0, 4000, QStringLiteral("ANNA"), QString(60, QLatin1Char('w'))}}
        << "0-2545 ANNA: " + QString(36, QLatin1Char('w')) + " | 2545-4000 " +
               QString(24, QLatin1Char('w'));
    QTest::newRow("short text over a long time leaves early; overlap pushed on")
        << QList<Segment>{{0, 30000, QString(), QStringLiteral("Quiet")},
                          {29000, 31000, QString(), QStringLiteral("Then")},
                          {10000, 10000, QString(), QStringLiteral("Back")}}
        << "0-7000 Quiet | 29000-31000 Then | 31000-32000 Back";
}

void TestTranscriptSegments::cuesFitTheScreenAndTheTime()
{
    QFETCH(QList<Segment>, segments);
    QFETCH(QString, expected);
    const QList<Cue> cues =
        SubtitleCues::fromSegments(segments, SubtitleCues::SpeakerPlace::InText);
    QStringList shown;
    for (const Cue& cue : cues)
        shown << QStringLiteral("%1-%2 %3").arg(cue.start).arg(cue.end).arg(cue.lines.join('/'));
    QCOMPARE(shown.join(QLatin1String(" | ")), expected);
}

void TestTranscriptSegments::subtitlesOpenAsParagraphs_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected"); // the paragraphs, then the cues left out

    QTest::newRow("SRT") << corpus("cues.srt")
                         << "[00:00:01.5] Hello there, ANNA: friend &amp; co/"
                            "[00:00:06.2] Last words/1 left out";
    QTest::newRow("WebVTT") << corpus("cues.vtt")
                            << "[00:00:01.0] Anna Maria: Ciao & <benvenuti>/"
                               "[00:00:03.0] Who speaks?/[01:00:05.1] Bo: Late/1 left out";
}

void TestTranscriptSegments::subtitlesOpenAsParagraphs()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    QTextDocument document;
    const ImportSummary summary = SubtitleImport::read(file, &document, Timestamp::Style::Tenths);
    QCOMPARE(document.toPlainText().replace(QLatin1Char('\n'), QLatin1Char('/')) +
                 QStringLiteral("/%1 left out").arg(summary.skipped),
             expected);
}

QTEST_MAIN(TestTranscriptSegments)
#include "tst_transcriptsegments.moc"
