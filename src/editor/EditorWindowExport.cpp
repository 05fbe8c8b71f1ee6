#include "core/AppState.h"
#include "core/Logging.h"
#include "core/PlayerCommands.h"
#include "editor/EditorWindow.h"
#include "editor/RichTextBox.h"
#include "platform/Dialogs.h"
#include "transcript/TranscriptExport.h"
#include "transcript/TransferMessages.h"

#include <QFileInfo>

void EditorWindow::exportTranscript()
{
    const InterfaceTexts& t = m_state.texts;
    FileDialogRequest request;
    request.owner = this;
    request.title = t.plain(Text::ExportTranscript).remove(QStringLiteral("..."));
    // One filter per format, and plain text once more without its timestamps.
    QList<bool> keepsTimestamps;
    for (const TranscriptExport::FormatInfo& info : TranscriptExport::formats()) {
        const QString extension = QString::fromLatin1(info.extension);
        request.filters.append({extension.toUpper(), QStringLiteral("*.") + extension});
        keepsTimestamps.append(true);
        if (info.format == ExportFormat::Text) {
            request.filters.append({t.plain(Text::TextWithoutTimestamps), QStringLiteral("*.txt")});
            keepsTimestamps.append(false);
        }
    }
    const QFileInfo document(m_document.shownName());
    request.initialFolder =
        m_document.isUntitled() ? m_state.editorFolder : document.absolutePath();
    request.fileName = document.completeBaseName();
    int chosenFilter = 0;
    request.chosenFilter = &chosenFilter;
    const QString chosen = m_platform.dialogs->showFileDialog(request);
    m_textBox->setFocus();
    if (chosen.isEmpty())
        return;

    const auto format = TranscriptExport::formatOfPath(chosen);
    if (!format) {
        m_platform.dialogs->warning(this, t.plain(Text::ProgramName),
                                    TransferMessages::unknownFormat(t));
        return;
    }
    ExportOptions options;
    options.format = *format;
    options.textTimestamps = chosenFilter < 1 || chosenFilter > keepsTimestamps.size() ||
                             keepsTimestamps.at(chosenFilter - 1);
    options.transcriptPath = m_document.path;
    // The last words end where the recording does, when the transcript is heard beside it.
    if (m_player && m_player->duration() > 0)
        options.mediaDuration = qint64(m_player->duration() * 1000);
    if (!TranscriptExport::isSameFile(chosen, m_document.path) && !mayReplace(chosen))
        return;

    QString error;
    const ExportSummary summary =
        TranscriptExport::write(*m_textBox->document(), chosen, options, &error);
    m_state.editorFolder = QFileInfo(chosen).absolutePath();
    if (summary.outcome == ExportSummary::Outcome::Failed) {
        tellSaveFailed(chosen, error);
        return;
    }
    if (const QStringList notes = TransferMessages::exportNotes(summary, t); !notes.isEmpty())
        m_platform.dialogs->information(this, t.plain(Text::ProgramName),
                                        notes.join(QLatin1Char('\n')) + QLatin1Char('\n') + chosen);
}
