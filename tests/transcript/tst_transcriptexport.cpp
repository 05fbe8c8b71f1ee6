#include "rtf/RtfReader.h"
#include "transcript/SubtitleImport.h"
#include "transcript/TranscriptSegments.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

namespace {

const QString kCorpus = QStringLiteral(TRANSCRIPT_CORPUS_DIR "/");
const QString kAnswer = QStringLiteral(
    "It is a pleasure, really. We met once before, in Rome, long ago; the city was quieter then, "
    "and the trains ran slower than they do now.");
const QString kPreambleNote = QStringLiteral(
    "vocarta: DIR/out.%1: The text before the first timestamp is not in the exported file: this "
    "kind of file holds only timed text.\n");

struct Outcome {
    int status = -1;
    QString output;
    QString errors;
};

Outcome runTool(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    // Office suites start slowly on a busy machine.
    if (!process.waitForFinished(180000))
        process.kill();
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QStringList words(const QString& text)
{
    static const QRegularExpression word(QStringLiteral("\\w+"),
                                         QRegularExpression::UseUnicodePropertiesOption);
    QStringList found;
    for (auto it = word.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    return found;
}

QString python()
{
    // Debian's python3-docx belongs to the system's interpreter, not to one on a private path.
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                             : QStringLiteral("python3");
}

QJsonValue pythonJson(const QString& script, const QString& file)
{
    const Outcome run = runTool(python(), {QStringLiteral("-c"), script, file});
    if (run.status != 0)
        qWarning().noquote() << run.errors;
    return QJsonDocument::fromJson(run.output.toUtf8()).object().value(QStringLiteral("v"));
}

} // namespace

class TestTranscriptExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void outsideReadersReadTheExport_data();
    void outsideReadersReadTheExport();
    void commandLineTellsEachProblem_data();
    void commandLineTellsEachProblem();

private:
    Outcome exportFile(const QStringList& arguments) const;
    void requireTool(const char* program, const char* package) const;

    QTemporaryDir m_dir;
    QTemporaryDir m_runtime;
    QTextDocument m_document;
};

void TestTranscriptExport::initTestCase()
{
    QFile file(kCorpus + QStringLiteral("interview.rtf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    RtfReader::read(file.readAll(), &m_document);
    QVERIFY(QFile::setPermissions(m_runtime.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// The program as a script runs it: no display server.
Outcome TestTranscriptExport::exportFile(const QStringList& arguments) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    // A login session's runtime folder, which Qt asks for.
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    Outcome run = runTool(QStringLiteral(VOCARTA_PROGRAM),
                          QStringList{QStringLiteral("--export")} + arguments, environment);
    run.errors.replace(m_dir.path(), QLatin1String("DIR"));
    return run;
}

void TestTranscriptExport::requireTool(const char* program, const char* package) const
{
    if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
        QSKIP(qPrintable(QStringLiteral("%1 is not installed (Debian package %2)")
                             .arg(QLatin1String(program), QLatin1String(package))));
}

void TestTranscriptExport::outsideReadersReadTheExport_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("errors");

    for (const char* extension : {"srt", "vtt", "csv", "tsv"})
        QTest::newRow(extension) << extension << QStringList() << kPreambleNote.arg(extension);
    for (const char* extension : {"docx", "odt", "txt"})
        QTest::newRow(extension) << extension << QStringList() << QString();
    QTest::newRow("txt without timestamps")
        << "txt" << QStringList{QStringLiteral("--no-timestamps")} << QString();
}

void TestTranscriptExport::outsideReadersReadTheExport()
{
    QFETCH(QString, extension);
    QFETCH(QStringList, options);
    QFETCH(QString, errors);
    const QString out = m_dir.filePath(QStringLiteral("out.") + extension);
    const Outcome run =
        exportFile(QStringList{kCorpus + QStringLiteral("interview.rtf"), out} + options);
    QCOMPARE(run.errors, errors);
    QCOMPARE(run.status, 0);

    const QString text = TranscriptSegments::plainText(m_document);
    const SegmentList list = TranscriptSegments::split(m_document);
    if (extension == QLatin1String("srt") || extension == QLatin1String("vtt")) {
        requireTool("ffmpeg", "ffmpeg");
        const Outcome ffmpeg = runTool(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-i", out,
                                                                  out + QStringLiteral(".ass")});
        QVERIFY2(ffmpeg.status == 0, qPrintable(ffmpeg.errors));
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTextDocument back;
        QCOMPARE(SubtitleImport::read(file.readAll(), &back, Timestamp::kDefaultStyle).skipped, 0);
        // Cues of one speaker together again, each group with its first start.
        QStringList groups;
        QString speaker;
        for (const Segment& s : TranscriptSegments::split(back).segments) {
            if (s.speaker.isEmpty() || s.speaker != speaker)
                groups << QStringLiteral("%1 %2:").arg(s.start / 1000).arg(s.speaker);
            groups.last() += QLatin1Char(' ') + s.text;
            speaker = s.speaker;
        }
        // SRT names the speaker in the first cue of a segment only.
        QCOMPARE(groups.join(QLatin1String(" | ")),
                 extension == QLatin1String("vtt")
                     ? "5 INTERVIEWER: Good morning. Thank you for coming. | 9 ANSWER: " + kAnswer +
                           " | 40 : First point Second point | 62 : Café ends."
                     : "5 INTERVIEWER: Good morning. Thank you for coming. | 9 ANSWER: It is a "
                       "pleasure, really. | 14 : We met once before, in Rome, | 18 : long ago; the "
                       "city was quieter then, | 24 : and the trains ran slower than they do now. "
                       "| 40 : First point Second point | 62 : Café ends.");
    } else if (extension == QLatin1String("csv") || extension == QLatin1String("tsv")) {
        const QJsonValue rows = pythonJson(
            QStringLiteral("import csv, json, sys\n"
                           "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                           "    print(json.dumps({'v': list(csv.reader(f, delimiter='%1'))}))")
                .arg(extension == QLatin1String("csv") ? QStringLiteral(",")
                                                       : QStringLiteral("\\t")),
            out);
        QCOMPARE(rows.toArray(),
                 QJsonArray(
                     {QJsonArray({"start", "end", "speaker", "text"}),
                      QJsonArray({"00:00:05.000", "00:00:09.000", "INTERVIEWER",
                                  "Good morning. Thank you for coming."}),
                      QJsonArray({"00:00:09.000", "00:00:31.000", "ANSWER", kAnswer}),
                      QJsonArray({"00:00:40.000", "00:01:02.000", "", "First point\nSecond point"}),
                      QJsonArray({"00:01:02.000", "00:01:03.000", "", "Café ends."})}));
    } else if (extension == QLatin1String("txt")) {
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 QString(options.isEmpty() ? text : TranscriptSegments::withoutTimestamps(text))
                     .replace(QLatin1Char('\n'), QLatin1String("\r\n")));
    } else {
        if (extension == QLatin1String("docx")) {
            const QJsonValue docx =
                pythonJson(QStringLiteral("import docx, json, sys\n"
                                          "d = docx.Document(sys.argv[1])\n"
                                          "print(json.dumps({'v': {"
                                          "'text': '\\n'.join(p.text for p in d.paragraphs),"
                                          "'bold': [r.text for p in d.paragraphs for r in p.runs "
                                          "if r.bold]}}))"),
                           out);
            QCOMPARE(words(docx[QLatin1String("text")].toString()), words(text));
            const QJsonArray bold{"Interview with M. Rossi", "It is a pleasure"};
            QCOMPARE(docx[QLatin1String("bold")].toArray(), bold);
            requireTool("pandoc", "pandoc");
            const Outcome html =
                runTool(QStringLiteral("pandoc"), {"-f", "docx", "-t", "html", out});
            QCOMPARE(html.status, 0);
            QJsonArray strong;
            static const QRegularExpression strongRun(QStringLiteral("<strong>(.*?)</strong>"));
            for (auto it = strongRun.globalMatch(html.output); it.hasNext();)
                strong << it.next().captured(1);
            QCOMPARE(strong, bold);
            QTextDocument read;
            read.setHtml(html.output);
            QCOMPARE(words(read.toPlainText()), words(text));
        }
        requireTool("soffice", "libreoffice-writer-nogui");
        QTemporaryDir profile;
        const Outcome office =
            runTool(QStringLiteral("soffice"),
                    {"-env:UserInstallation=file://" + profile.path(), "--headless", "--norestore",
                     "--convert-to", "html:XHTML Writer File:UTF8", "--outdir",
                     profile.filePath("html"), out});
        QFile converted(profile.filePath(QStringLiteral("html/out.html")));
        QVERIFY2(converted.open(QIODevice::ReadOnly), qPrintable(office.errors));
        const QString html = QString::fromUtf8(converted.readAll());
        QTextDocument read;
        read.setHtml(html);
        QCOMPARE(words(read.toPlainText()), words(text));
        // The one run in another font keeps it.
        QVERIFY(html.contains(QLatin1String("Courier New")));
    }
}

void TestTranscriptExport::commandLineTellsEachProblem_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("errors");

    const QString transcript = m_dir.filePath(QStringLiteral("own.txt"));
    QFile own(transcript);
    QVERIFY(own.open(QIODevice::WriteOnly) && own.write("[00:00:01] mine\n") > 0);
    QTest::newRow("over the transcript itself")
        << QStringList{transcript, m_dir.path() + QStringLiteral("/./own.txt")} << 1
        << "vocarta: DIR/./own.txt: A transcript cannot be exported over its own file. Choose "
           "another name.\n";
    QTest::newRow("unknown kind") << QStringList{transcript, QStringLiteral("DIR/x.pdf")} << 2
                                  << "vocarta: DIR/x.pdf: Vocarta cannot export to this kind of "
                                     "file. The name must end in one of: .docx, .odt, .srt, .vtt, "
                                     ".txt, .csv, .tsv.\n";
    QTest::newRow("folder missing")
        << QStringList{transcript, m_dir.filePath(QStringLiteral("none/x.srt"))} << 1
        << "vocarta: DIR/none/x.srt: No such file or directory\n";
    QTest::newRow("transcript missing")
        << QStringList{m_dir.filePath(QStringLiteral("gone.rtf")), transcript} << 1
        << "vocarta: DIR/gone.rtf: No such file or directory\n";
    QTest::newRow("one file only") << QStringList{transcript} << 2
                                   << "vocarta: --export takes a transcript and the file to write; "
                                      "vocarta --help says more\n";
    QTest::newRow("subtitles with a broken cue")
        << QStringList{kCorpus + QStringLiteral("cues.srt"), m_dir.filePath("cues.txt")} << 0
        << "vocarta: " + kCorpus + "cues.srt: 1 subtitles could not be read and were left out.\n";
}

void TestTranscriptExport::commandLineTellsEachProblem()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, errors);
    const Outcome run = exportFile(arguments);
    QCOMPARE(run.errors, errors);
    QCOMPARE(run.status, status);
    QFile own(m_dir.filePath(QStringLiteral("own.txt")));
    QVERIFY(own.open(QIODevice::ReadOnly));
    QCOMPARE(own.readAll(), QByteArray("[00:00:01] mine\n"));
}

QTEST_MAIN(TestTranscriptExport)
#include "tst_transcriptexport.moc"
