#include "core/AppState.h"
#include "core/Logging.h"
#include "core/ProductName.h"
#include "editor/EditorWindow.h"
#include "editor/LayoutLimits.h"
#include "editor/RecoveryKeeper.h"
#include "editor/RichTextBox.h"
#include "platform/Dialogs.h"
#include "platform/TextFile.h"
#include "transcript/TransferMessages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QProgressDialog>

namespace {

// The text files' filter in the document dialog, counted from 1 as the request does.
constexpr int kTextFilesFilter = 2;

FileDialogRequest documentDialog(QWidget* owner, const InterfaceTexts& texts)
{
    FileDialogRequest request;
    request.owner = owner;
    request.filters = {{texts.plain(Text::RichTextDocuments), QStringLiteral("*.rtf")},
                       {texts.plain(Text::TextFiles), QStringLiteral("*.txt")}};
    request.defaultExtension = QStringLiteral("rtf");
    return request;
}

} // namespace

bool EditorWindow::maybeSave()
{
    if (m_textBox->document()->isEmpty() || !m_document.modified)
        return true;
    const InterfaceTexts& t = m_state.texts;
    switch (m_platform.dialogs->message(this, QMessageBox::Warning, t.plain(Text::ProgramName),
                                        t.plain(Text::DocumentModified),
                                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: {
        // A save that did not happen keeps the text: the command stops.
        const SaveOutcome outcome = save();
        return outcome == SaveOutcome::Saved || outcome == SaveOutcome::NothingToSave;
    }
    case QMessageBox::No:
        // Its copy goes with the text itself, once the command has dropped it.
        return true;
    default:
        return false;
    }
}

void EditorWindow::newDocument()
{
    if (!maybeSave())
        return;
    // A new document starts a history of its own, as an opened one does.
    m_undoRecording = false;
    m_textBox->clear();
    m_undoRecording = true;
    m_history.reset(QString(), 0);
    // The text area would keep typing in the last document's format: the new one types in the
    // font and size the boxes show.
    m_textBox->document()->setDefaultFont(boxesFont());
    m_textBox->setCurrentCharFormat(QTextCharFormat());
    m_document.startUntitled();
    updateCaption();
    m_recovery->discardCopy();
}

void EditorWindow::openDocument()
{
    if (maybeSave())
        openDocumentFile(QString());
}

void EditorWindow::openRecentDocument(const QString& path)
{
    // Unsaved changes kept safely aside in the Recovery folder need no question, only a word on
    // where they went; when they cannot be kept, the question comes as for Open.
    if (m_document.modified && !m_textBox->document()->isEmpty() && QFileInfo(path).isFile()) {
        QString error;
        const QString kept = m_recovery->setChangesAside(&error);
        if (kept.isEmpty()) {
            qCWarning(lcEditor).noquote() << "Unsaved changes not set aside:" << error;
            if (!maybeSave())
                return;
        } else {
            const InterfaceTexts& t = m_state.texts;
            m_platform.dialogs->information(
                this, t.plain(Text::ProgramName),
                t.plain(Text::RecoveryKeptAside)
                        .replace(QLatin1String("%1"), m_document.shownName()) +
                    QLatin1Char('\n') + kept);
        }
    }
    openDocumentFile(path);
}

void EditorWindow::openDocumentFile(const QString& path)
{
    const InterfaceTexts& t = m_state.texts;
    QString chosen = path;
    if (chosen.isEmpty()) {
        FileDialogRequest request = documentDialog(this, t);
        request.open = true;
        request.filters.append({t.plain(Text::Subtitles), QStringLiteral("*.srt *.vtt")});
        request.initialFolder = m_state.editorFolder;
        request.title = t.plain(Text::OpenDocumentTitle);
        chosen = m_platform.dialogs->showFileDialog(request);
    }
    if (chosen.trimmed().isEmpty())
        return;
    if (!QFileInfo(chosen).isFile()) {
        m_platform.dialogs->warning(this, t.plain(Text::ProgramName),
                                    t.plain(Text::FileMissing) + QLatin1Char('\n') + chosen);
        return;
    }
    if (SubtitleImport::isSubtitleFile(chosen)) {
        openSubtitles(chosen);
        return;
    }
    QString error;
    // Made only when the reading lasts; cancelling it keeps the document as it was.
    std::unique_ptr<QProgressDialog> progress;
    QElapsedTimer reading;
    reading.start();
    const auto showProgress = [&](int permille) {
        if (!progress) {
            if (reading.elapsed() < 300)
                return true;
            progress = std::make_unique<QProgressDialog>(t.plain(Text::OpeningFile) +
                                                             QLatin1Char('\n') + chosen,
                                                         t.plain(Text::Cancel), 0, 1000, this);
            progress->setWindowTitle(t.plain(Text::ProgramName));
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
            progress->setAutoReset(false);
        }
        progress->setValue(permille);
        return !progress->wasCanceled();
    };
    // An opened file starts a history of its own: undoing into the previous document's text
    // would let a save write that text over this file.
    m_undoRecording = false;
    const RichTextBox::LoadOutcome outcome = m_textBox->loadFile(chosen, &error, showProgress);
    m_undoRecording = true;
    progress.reset();
    switch (outcome) {
    case RichTextBox::LoadOutcome::Loaded:
        m_history.reset(m_textBox->toPlainText(), m_textBox->textCursor().position());
        break;
    case RichTextBox::LoadOutcome::NotText:
        error = t.plain(Text::NotATextDocument);
        [[fallthrough]];
    case RichTextBox::LoadOutcome::Unreadable:
        qCWarning(lcEditor).noquote() << "Cannot read" << chosen << error;
        m_platform.dialogs->warning(this, t.plain(Text::ProgramName),
                                    t.plain(Text::CannotOpenFile) + QLatin1Char('\n') + chosen +
                                        QLatin1Char('\n') + error);
        return;
    case RichTextBox::LoadOutcome::BeyondLimits: {
        qCWarning(lcEditor).noquote() << "Beyond the editor's limits:" << chosen;
        const QLocale locale;
        m_platform.dialogs->warning(
            this, t.plain(Text::ProgramName),
            t.plain(Text::FileBeyondLimits)
                    .arg(locale.toString(LayoutLimits::kMaxCharacters),
                         locale.toString(LayoutLimits::kMaxParagraphs),
                         locale.toString(LayoutLimits::kMaxParagraphLength),
                         locale.toString(LayoutLimits::kMaxParagraphRuns),
                         locale.toString(LayoutLimits::kMaxUnbrokenLength)) +
                QLatin1Char('\n') + chosen);
        return;
    }
    case RichTextBox::LoadOutcome::Stopped:
        return;
    }
    m_state.editorFolder = QFileInfo(chosen).absolutePath();
    m_document.path = chosen;
    m_recentDocuments->remember(chosen);
    updateCaption();
    m_document.modified = false;
    m_recovery->discardCopy();
}

void EditorWindow::openSubtitles(const QString& path)
{
    const InterfaceTexts& t = m_state.texts;
    QString error;
    const auto bytes = readFileWhole(path, &error);
    if (!bytes) {
        qCWarning(lcEditor).noquote() << "Cannot read" << path << error;
        m_platform.dialogs->warning(this, t.plain(Text::ProgramName),
                                    t.plain(Text::CannotOpenFile) + QLatin1Char('\n') + path +
                                        QLatin1Char('\n') + error);
        return;
    }
    m_undoRecording = false;
    const ImportSummary imported = m_textBox->setSubtitles(*bytes, m_state.timestamps.style);
    m_undoRecording = true;
    m_history.reset(m_textBox->toPlainText(), m_textBox->textCursor().position());
    m_state.editorFolder = QFileInfo(path).absolutePath();
    m_recovery->discardCopy();
    // A transcript made from subtitles is a new document: a save never writes it over them.
    m_document.startUntitled();
    m_document.modified = !m_textBox->document()->isEmpty();
    updateCaption();
    if (const QString note = TransferMessages::importNote(imported, t); !note.isEmpty())
        m_platform.dialogs->information(this, t.plain(Text::ProgramName), note);
}

EditorWindow::SaveOutcome EditorWindow::save()
{
    if (m_document.isUntitled())
        return m_document.modified ? saveAs() : SaveOutcome::NothingToSave;
    QApplication::beep();
    if (!m_document.modified)
        return SaveOutcome::NothingToSave;
    if (!writeDocument(m_document.path))
        return SaveOutcome::Failed;
    m_recentDocuments->remember(m_document.path);
    m_document.modified = false;
    m_recovery->discardCopy();
    return SaveOutcome::Saved;
}

EditorWindow::SaveOutcome EditorWindow::saveAs()
{
    const InterfaceTexts& t = m_state.texts;
    FileDialogRequest request = documentDialog(this, t);
    request.initialFolder = m_state.editorFolder;
    request.fileName = m_document.untitledFileName();
    if (!m_document.isUntitled()) {
        // Saved again under its own name, or a new one beside it.
        const QFileInfo file(m_document.path);
        request.initialFolder = file.absolutePath();
        request.fileName = file.fileName();
        if (file.suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0)
            request.filterIndex = kTextFilesFilter;
    }
    request.title = t.plain(Text::SaveAsTitle);
    const QString chosen = m_platform.dialogs->showFileDialog(request);
    if (chosen.isEmpty())
        return SaveOutcome::Cancelled;
    if (!mayReplace(chosen))
        return SaveOutcome::Cancelled;
    m_state.editorFolder = QFileInfo(chosen).absolutePath();
    if (!writeDocument(chosen))
        return SaveOutcome::Failed;
    m_document.path = chosen;
    m_recentDocuments->remember(chosen);
    updateCaption();
    m_document.modified = false;
    m_recovery->discardCopy();
    return SaveOutcome::Saved;
}

bool EditorWindow::mayReplace(const QString& path)
{
    const InterfaceTexts& t = m_state.texts;
    return !QFileInfo::exists(path) ||
           m_platform.dialogs->message(this, QMessageBox::Warning, t.plain(Text::ProgramName),
                                       t.plain(Text::FileExists) + QStringLiteral("\n\n") +
                                           t.plain(Text::ReplaceFile),
                                       QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool EditorWindow::writeDocument(const QString& path)
{
    QString error;
    if (m_textBox->saveFile(path, &error))
        return true;
    tellSaveFailed(path, error);
    return false;
}

void EditorWindow::tellSaveFailed(const QString& path, const QString& error)
{
    qCWarning(lcEditor).noquote() << "Cannot save" << path << error;
    const InterfaceTexts& t = m_state.texts;
    m_platform.dialogs->warning(this, t.plain(Text::ProgramName),
                                t.plain(Text::SaveFailed) + QLatin1Char('\n') + path +
                                    QLatin1Char('\n') + error);
}

EditorCommands::ExitAnswer EditorWindow::askToSaveBeforeExit()
{
    // Asked also while the window is hidden: a transcript is never dropped unasked.
    if (!m_document.modified || m_textBox->document()->isEmpty()) {
        m_recovery->discardCopy();
        return ExitAnswer::Proceed;
    }
    const InterfaceTexts& t = m_state.texts;
    const QString question =
        t.plain(Text::SaveChangesTo) + QLatin1Char(' ') + m_document.shownName() + QLatin1Char('?');
    switch (m_platform.dialogs->message(this, QMessageBox::Warning, productTitle(), question,
                                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        break;
    case QMessageBox::No:
        m_recovery->discardCopy();
        return ExitAnswer::Proceed;
    default:
        return ExitAnswer::Cancel;
    }
    switch (save()) {
    case SaveOutcome::Saved:
    case SaveOutcome::NothingToSave:
        return ExitAnswer::Proceed;
    case SaveOutcome::Cancelled:
        return ExitAnswer::Cancel;
    case SaveOutcome::Failed:
        return ExitAnswer::SaveFailed;
    }
    return ExitAnswer::Cancel;
}
