#include "editor/DocumentCommands.h"

#include "core/AppState.h"
#include "core/Logging.h"
#include "core/PlayerCommands.h"
#include "core/ProductName.h"
#include "core/RecentFilesMenu.h"
#include "editor/LayoutLimits.h"
#include "editor/RecoveryKeeper.h"
#include "editor/RichTextBox.h"
#include "editor/UndoController.h"
#include "platform/Dialogs.h"
#include "platform/TextFile.h"
#include "transcript/TranscriptExport.h"
#include "transcript/TransferMessages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QPrinter>
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

DocumentCommands::DocumentCommands(AppState& state, Dialogs& dialogs, PlayerCommands* player,
                                   Editor editor, QObject* parent)
    : QObject(parent), m_state(state), m_dialogs(dialogs), m_player(player),
      m_editor(std::move(editor)),
      m_recentDocuments(new RecentFilesMenu(state, &dialogs, QStringLiteral("LastFilesEditor.ini"),
                                            RecentFilesMenu::Saving::AtOnce, m_editor.window))
{
    RecoveryKeeper::Editor recovered;
    recovered.document = &m_document;
    recovered.text = m_editor.text;
    recovered.window = m_editor.window;
    recovered.startOwner = m_editor.startOwner;
    recovered.restore = [this](const QByteArray& copy, const RecoveryRecord& record) {
        restore(copy, record);
    };
    m_recovery = new RecoveryKeeper(m_state, m_dialogs, m_player, recovered, this);
    connect(m_recentDocuments, &RecentFilesMenu::chosen, this,
            &DocumentCommands::openRecentDocument);
    connect(m_editor.text, &RichTextBox::contentChanged, this, &DocumentCommands::noteChange);
}

DocumentCommands::~DocumentCommands() = default;

void DocumentCommands::addRecentEntries(QMenu* menu)
{
    m_recentDocuments->addEntries(menu, RecentFilesMenu::SeparatorPlace::After);
    m_recentDocuments->load();
}

void DocumentCommands::retranslate()
{
    m_document.untitledName = m_state.texts.text(Text::Untitled) + QLatin1Char(' ');
    announceCaption();
}

void DocumentCommands::announceCaption()
{
    Q_EMIT captionChanged(m_document.caption(m_state.texts.text(Text::TextEditor)));
}

void DocumentCommands::noteChange()
{
    m_document.modified = true;
    m_recovery->noteChange();
}

bool DocumentCommands::maybeSave()
{
    if (m_editor.text->document()->isEmpty() || !m_document.modified)
        return true;
    const InterfaceTexts& t = m_state.texts;
    switch (m_dialogs.message(m_editor.window, QMessageBox::Warning, t.plain(Text::ProgramName),
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

void DocumentCommands::newDocument()
{
    if (!maybeSave())
        return;
    // A new document starts a history of its own, as an opened one does.
    m_editor.undo->changeUnrecorded([this] { m_editor.text->clear(); });
    m_editor.undo->startOver();
    // The text area would keep typing in the last document's format: the new one types in the
    // font and size the boxes show.
    if (m_editor.newDocumentFont)
        m_editor.text->document()->setDefaultFont(m_editor.newDocumentFont());
    m_editor.text->setCurrentCharFormat(QTextCharFormat());
    m_document.startUntitled();
    announceCaption();
    m_recovery->discardCopy();
}

void DocumentCommands::openDocument()
{
    if (maybeSave())
        openDocumentFile(QString());
}

void DocumentCommands::openRecentDocument(const QString& path)
{
    // Unsaved changes kept safely aside in the Recovery folder need no question, only a word on
    // where they went; when they cannot be kept, the question comes as for Open.
    if (m_document.modified && !m_editor.text->document()->isEmpty() && QFileInfo(path).isFile()) {
        QString error;
        const QString kept = m_recovery->setChangesAside(&error);
        if (kept.isEmpty()) {
            qCWarning(lcEditor).noquote() << "Unsaved changes not set aside:" << error;
            if (!maybeSave())
                return;
        } else {
            const InterfaceTexts& t = m_state.texts;
            m_dialogs.information(m_editor.window, t.plain(Text::ProgramName),
                                  t.plain(Text::RecoveryKeptAside)
                                          .replace(QLatin1String("%1"), m_document.shownName()) +
                                      QLatin1Char('\n') + kept);
        }
    }
    openDocumentFile(path);
}

void DocumentCommands::openDocumentFile(const QString& path)
{
    const InterfaceTexts& t = m_state.texts;
    QString chosen = path;
    if (chosen.isEmpty()) {
        FileDialogRequest request = documentDialog(m_editor.window, t);
        request.open = true;
        request.filters.append({t.plain(Text::Subtitles), QStringLiteral("*.srt *.vtt")});
        request.initialFolder = m_state.editorFolder;
        request.title = t.plain(Text::OpenDocumentTitle);
        chosen = m_dialogs.showFileDialog(request);
    }
    if (chosen.trimmed().isEmpty())
        return;
    if (!QFileInfo(chosen).isFile()) {
        m_dialogs.warning(m_editor.window, t.plain(Text::ProgramName),
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
            progress = std::make_unique<QProgressDialog>(
                t.plain(Text::OpeningFile) + QLatin1Char('\n') + chosen, t.plain(Text::Cancel), 0,
                1000, m_editor.window);
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
    RichTextBox::LoadOutcome outcome = RichTextBox::LoadOutcome::Stopped;
    m_editor.undo->changeUnrecorded(
        [&] { outcome = m_editor.text->loadFile(chosen, &error, showProgress); });
    progress.reset();
    switch (outcome) {
    case RichTextBox::LoadOutcome::Loaded:
        m_editor.undo->startOver();
        break;
    case RichTextBox::LoadOutcome::NotText:
        error = t.plain(Text::NotATextDocument);
        [[fallthrough]];
    case RichTextBox::LoadOutcome::Unreadable:
        qCWarning(lcEditor).noquote() << "Cannot read" << chosen << error;
        m_dialogs.warning(m_editor.window, t.plain(Text::ProgramName),
                          t.plain(Text::CannotOpenFile) + QLatin1Char('\n') + chosen +
                              QLatin1Char('\n') + error);
        return;
    case RichTextBox::LoadOutcome::BeyondLimits: {
        qCWarning(lcEditor).noquote() << "Beyond the editor's limits:" << chosen;
        const QLocale locale;
        m_dialogs.warning(m_editor.window, t.plain(Text::ProgramName),
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
    announceCaption();
    m_document.modified = false;
    m_recovery->discardCopy();
}

void DocumentCommands::openSubtitles(const QString& path)
{
    const InterfaceTexts& t = m_state.texts;
    QString error;
    const auto bytes = readFileWhole(path, &error);
    if (!bytes) {
        qCWarning(lcEditor).noquote() << "Cannot read" << path << error;
        m_dialogs.warning(m_editor.window, t.plain(Text::ProgramName),
                          t.plain(Text::CannotOpenFile) + QLatin1Char('\n') + path +
                              QLatin1Char('\n') + error);
        return;
    }
    ImportSummary imported;
    m_editor.undo->changeUnrecorded(
        [&] { imported = m_editor.text->setSubtitles(*bytes, m_state.timestamps.style); });
    m_editor.undo->startOver();
    m_state.editorFolder = QFileInfo(path).absolutePath();
    m_recovery->discardCopy();
    // A transcript made from subtitles is a new document: a save never writes it over them.
    m_document.startUntitled();
    m_document.modified = !m_editor.text->document()->isEmpty();
    announceCaption();
    if (const QString note = TransferMessages::importNote(imported, t); !note.isEmpty())
        m_dialogs.information(m_editor.window, t.plain(Text::ProgramName), note);
}

DocumentCommands::SaveOutcome DocumentCommands::save()
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

DocumentCommands::SaveOutcome DocumentCommands::saveAs()
{
    const InterfaceTexts& t = m_state.texts;
    FileDialogRequest request = documentDialog(m_editor.window, t);
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
    const QString chosen = m_dialogs.showFileDialog(request);
    if (chosen.isEmpty())
        return SaveOutcome::Cancelled;
    if (!mayReplace(chosen))
        return SaveOutcome::Cancelled;
    m_state.editorFolder = QFileInfo(chosen).absolutePath();
    if (!writeDocument(chosen))
        return SaveOutcome::Failed;
    m_document.path = chosen;
    m_recentDocuments->remember(chosen);
    announceCaption();
    m_document.modified = false;
    m_recovery->discardCopy();
    return SaveOutcome::Saved;
}

bool DocumentCommands::mayReplace(const QString& path)
{
    const InterfaceTexts& t = m_state.texts;
    return !QFileInfo::exists(path) ||
           m_dialogs.message(m_editor.window, QMessageBox::Warning, t.plain(Text::ProgramName),
                             t.plain(Text::FileExists) + QStringLiteral("\n\n") +
                                 t.plain(Text::ReplaceFile),
                             QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool DocumentCommands::writeDocument(const QString& path)
{
    QString error;
    if (m_editor.text->saveFile(path, &error))
        return true;
    tellSaveFailed(path, error);
    return false;
}

void DocumentCommands::tellSaveFailed(const QString& path, const QString& error)
{
    qCWarning(lcEditor).noquote() << "Cannot save" << path << error;
    const InterfaceTexts& t = m_state.texts;
    m_dialogs.warning(m_editor.window, t.plain(Text::ProgramName),
                      t.plain(Text::SaveFailed) + QLatin1Char('\n') + path + QLatin1Char('\n') +
                          error);
}

EditorCommands::ExitAnswer DocumentCommands::askToSaveBeforeExit()
{
    // Asked also while the window is hidden: a transcript is never dropped unasked.
    if (!m_document.modified || m_editor.text->document()->isEmpty()) {
        m_recovery->discardCopy();
        return EditorCommands::ExitAnswer::Proceed;
    }
    const InterfaceTexts& t = m_state.texts;
    const QString question =
        t.plain(Text::SaveChangesTo) + QLatin1Char(' ') + m_document.shownName() + QLatin1Char('?');
    switch (m_dialogs.message(m_editor.window, QMessageBox::Warning, productTitle(), question,
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        break;
    case QMessageBox::No:
        m_recovery->discardCopy();
        return EditorCommands::ExitAnswer::Proceed;
    default:
        return EditorCommands::ExitAnswer::Cancel;
    }
    switch (save()) {
    case SaveOutcome::Saved:
    case SaveOutcome::NothingToSave:
        return EditorCommands::ExitAnswer::Proceed;
    case SaveOutcome::Cancelled:
        return EditorCommands::ExitAnswer::Cancel;
    case SaveOutcome::Failed:
        return EditorCommands::ExitAnswer::SaveFailed;
    }
    return EditorCommands::ExitAnswer::Cancel;
}

void DocumentCommands::exportTranscript()
{
    const InterfaceTexts& t = m_state.texts;
    FileDialogRequest request;
    request.owner = m_editor.window;
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
    const QString chosen = m_dialogs.showFileDialog(request);
    m_editor.text->setFocus();
    if (chosen.isEmpty())
        return;

    const auto format = TranscriptExport::formatOfPath(chosen);
    if (!format) {
        m_dialogs.warning(m_editor.window, t.plain(Text::ProgramName),
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
        TranscriptExport::write(*m_editor.text->document(), chosen, options, &error);
    m_state.editorFolder = QFileInfo(chosen).absolutePath();
    if (summary.outcome == ExportSummary::Outcome::Failed) {
        tellSaveFailed(chosen, error);
        return;
    }
    if (const QStringList notes = TransferMessages::exportNotes(summary, t); !notes.isEmpty())
        m_dialogs.information(m_editor.window, t.plain(Text::ProgramName),
                              notes.join(QLatin1Char('\n')) + QLatin1Char('\n') + chosen);
}

void DocumentCommands::print()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (m_dialogs.choosePrinter(m_editor.window, *m_printer))
        m_editor.text->printSelection(m_printer.get());
}

void DocumentCommands::restore(const QByteArray& copy, const RecoveryRecord& record)
{
    m_editor.undo->changeUnrecorded([&] { m_editor.text->setContents(copy); });
    m_editor.text->moveCursor(QTextCursor::End);
    m_editor.undo->startOver();
    m_document.path = record.documentPath;
    if (m_document.isUntitled())
        m_document.untitledNumber = record.untitledNumber;
    m_document.modified = true;
    announceCaption();
    Q_EMIT restored(record);
}
