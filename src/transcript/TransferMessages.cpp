#include "transcript/TransferMessages.h"

#include "core/InterfaceTexts.h"
#include "transcript/SubtitleImport.h"
#include "transcript/TranscriptExport.h"

namespace TransferMessages {

QStringList exportNotes(const ExportSummary& summary, const InterfaceTexts& texts)
{
    QStringList notes;
    if (summary.outcome == ExportSummary::Outcome::OverTranscript)
        notes << texts.plain(Text::ExportOverTranscript);
    if (summary.preambleLeftOut)
        notes << texts.plain(Text::ExportPreambleLeftOut);
    return notes;
}

QString importNote(const ImportSummary& summary, const InterfaceTexts& texts)
{
    return summary.skipped > 0 ? texts.plain(Text::SubtitlesSkipped).arg(summary.skipped)
                               : QString();
}

QString unknownFormat(const InterfaceTexts& texts)
{
    return texts.plain(Text::ExportFormatUnknown).arg(TranscriptExport::extensionList());
}

} // namespace TransferMessages
