#include "app/ExportCommand.h"

#include "core/InterfaceTexts.h"
#include "transcript/TranscriptExport.h"
#include "transcript/TranscriptFile.h"
#include "transcript/TransferMessages.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstdio>
#include <cstring>

namespace ExportCommand {

namespace {

const QLatin1String kOption("--export");
const QLatin1String kNoTimestamps("--no-timestamps");

void printProblem(const QString& file, const QString& text)
{
    std::fprintf(stderr, "vocarta: %s: %s\n", qPrintable(file), qPrintable(text));
}

} // namespace

std::optional<int> run(const QStringList& arguments)
{
    if (arguments.size() < 2 || arguments.at(1) != kOption)
        return std::nullopt;
    QStringList files = arguments.mid(2);
    ExportOptions options;
    options.textTimestamps = !files.removeAll(kNoTimestamps);
    if (files.size() != 2) {
        std::fputs("vocarta: --export takes a transcript and the file to write; vocarta --help "
                   "says more\n",
                   stderr);
        return kUsage;
    }
    const QString& in = files.at(0);
    const QString& out = files.at(1);
    // The messages a user of the window reads, in English: no language is chosen here.
    InterfaceTexts texts;
    for (int n = 0; n < InterfaceTexts::kCount; ++n)
        texts.setEntry(n, InterfaceTexts::builtInEntry(n));

    const auto format = TranscriptExport::formatOfPath(out);
    if (!format) {
        printProblem(out, TransferMessages::unknownFormat(texts));
        return kUsage;
    }
    options.format = *format;
    options.transcriptPath = in;

    QTextDocument document;
    QString error;
    const auto imported = TranscriptFile::read(in, &document, Timestamp::kDefaultStyle, &error);
    if (!imported) {
        printProblem(in, error);
        return kFailed;
    }
    if (const QString note = TransferMessages::importNote(*imported, texts); !note.isEmpty())
        printProblem(in, note);

    const ExportSummary summary = TranscriptExport::write(document, out, options, &error);
    for (const QString& note : TransferMessages::exportNotes(summary, texts))
        printProblem(out, note);
    if (summary.outcome == ExportSummary::Outcome::Failed)
        printProblem(out, error);
    return summary.written() ? 0 : kFailed;
}

std::optional<int> run(int argc, char* argv[])
{
    if (argc < 2 || std::strcmp(argv[1], "--export") != 0)
        return std::nullopt;
    // A batch job shows nothing: it needs no display server, nor waits for one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("vocarta"));
    return run(QCoreApplication::arguments());
}

} // namespace ExportCommand
