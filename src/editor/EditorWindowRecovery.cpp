#include "core/AppState.h"
#include "core/Logging.h"
#include "core/PlayerCommands.h"
#include "editor/DocumentSnapshot.h"
#include "editor/EditorWindow.h"
#include "editor/RecoveryStore.h"
#include "editor/RecoveryWriter.h"
#include "editor/RichTextBox.h"
#include "platform/Dialogs.h"
#include "platform/TextFile.h"
#include "rtf/RtfWriter.h"

#include <QLocale>
#include <QTimer>
#include <algorithm>

namespace {

// A damaged record may name a document of any length: a box lays out a megabyte for many
// seconds. Its start and end say enough.
QString clippedForDisplay(const QString& text)
{
    constexpr qsizetype kMost = 300;
    if (text.size() <= kMost)
        return text;
    return text.left(kMost / 2) + QChar(0x2026) + text.right(kMost / 2);
}

} // namespace

void EditorWindow::startRecovery()
{
    if (m_recoveryStore)
        return;
    build();
    if (claimRecovery() && m_recoveryStore->hasCopy())
        offerRecovery();
}

bool EditorWindow::claimRecovery()
{
    if (!m_recoveryClock.isValid())
        m_recoveryClock.start();
    auto store = std::make_unique<RecoveryStore>(m_state.path(QStringLiteral("Recovery")));
    QString error;
    if (!store->claim(&error)) {
        qCWarning(lcEditor).noquote() << "No recovery copies for now:" << store->folder() << error;
        m_recoveryRetry.failed(m_recoveryClock.elapsed());
        // The user would believe the text safe: said once, and tried again quietly.
        if (!m_recoveryUnavailableTold) {
            m_recoveryUnavailableTold = true;
            const InterfaceTexts& t = m_state.texts;
            m_platform.dialogs->warning(m_dialogOwner ? m_dialogOwner : this,
                                        t.plain(Text::ProgramName),
                                        t.plain(Text::RecoveryUnavailable) + QLatin1Char('\n') +
                                            store->folder() + QLatin1Char('\n') + error);
        }
        return false;
    }
    m_recoveryRetry.clear();
    m_recoveryStore = std::move(store);
    m_recoveryWriter = std::make_unique<RecoveryWriter>(*m_recoveryStore);
    connect(m_recoveryWriter.get(), &RecoveryWriter::failed, this,
            [this](const QString& path, const QString& reason) {
                m_state.saveFailures.tell(*m_platform.dialogs, this, m_state.texts, path, reason);
            });
    return true;
}

void EditorWindow::retryRecovery()
{
    if (m_recoveryStore || !claimRecovery())
        return;
    // A copy an earlier run left under this name is kept, never written over; offering it now
    // would replace the text being typed.
    if (!m_recoveryStore->hasCopy())
        return;
    QString error;
    if (m_recoveryStore->setAside(QDateTime::currentDateTime(), &error).isEmpty()) {
        const InterfaceTexts& t = m_state.texts;
        qCWarning(lcEditor).noquote() << "Cannot set aside" << m_recoveryStore->copyPath() << error;
        m_platform.dialogs->warning(this, t.plain(Text::ProgramName),
                                    t.plain(Text::RecoveryNotSetAside) + QLatin1Char('\n') +
                                        m_recoveryStore->copyPath() + QLatin1Char('\n') + error);
        stopRecovery();
    }
}

void EditorWindow::stopRecovery()
{
    m_recoveryTimer->stop();
    m_recoverySchedule.clear();
    m_recoveryRetry.clear();
    m_recoveryWriter.reset();
    m_recoveryStore.reset();
}

void EditorWindow::noteChangeForRecovery()
{
    if (!m_recoveryClock.isValid())
        return;
    const qint64 now = m_recoveryClock.elapsed();
    if (!m_recoveryWriter && m_recoveryRetry.isDue(now))
        retryRecovery();
    if (!m_recoveryWriter)
        return;
    m_recoverySchedule.changed(now);
    m_recoveryTimer->start(int(std::max<qint64>(m_recoverySchedule.dueAt() - now, 0)));
}

void EditorWindow::writeRecoveryCopy()
{
    m_recoveryTimer->stop();
    m_recoverySchedule.clear();
    if (!m_recoveryWriter || !m_document.modified)
        return;
    // A transcript emptied on purpose leaves nothing worth offering at the next start.
    if (m_textBox->document()->isEmpty()) {
        m_recoveryWriter->remove();
        return;
    }
    m_recoveryWriter->write(DocumentSnapshot::take(*m_textBox->document()), recoveryRecord());
}

RecoveryRecord EditorWindow::recoveryRecord() const
{
    RecoveryRecord record;
    record.documentPath = m_document.path;
    record.untitledNumber = m_document.untitledNumber;
    if (hasMedia()) {
        record.mediaPath = m_player->mediaPath();
        record.position = std::max(m_player->position(), 0.0);
    }
    record.written = QDateTime::currentDateTime();
    return record;
}

QString EditorWindow::setChangesAside(QString* error)
{
    if (!m_recoveryStore) {
        *error = QStringLiteral("Recovery copies are off");
        return QString();
    }
    m_recoveryTimer->stop();
    m_recoverySchedule.clear();
    // Written here rather than on the writer's thread: its outcome decides whether the text may
    // leave the editor, and nothing the thread still had to do may land after it.
    m_recoveryWriter->waitForDone();
    const QByteArray copy = RtfWriter::write(*m_textBox->document());
    if (!m_recoveryStore->write(copy, recoveryRecord(), error))
        return QString();
    const QString kept = m_recoveryStore->setAside(QDateTime::currentDateTime(), error);
    if (kept.isEmpty())
        return QString();
    const auto back = readFileWhole(kept, error);
    if (!back)
        return QString();
    if (*back != copy) {
        *error = kept + QStringLiteral(" does not read back as written");
        return QString();
    }
    return kept;
}

void EditorWindow::keepRecoveryCopy()
{
    m_ending = true;
    flushRecoveryCopy();
}

void EditorWindow::flushRecoveryCopy()
{
    if (!m_recoveryWriter)
        return;
    if (m_document.modified)
        writeRecoveryCopy();
    m_recoveryWriter->waitForDone();
}

void EditorWindow::discardRecoveryCopy()
{
    if (!m_recoveryWriter)
        return;
    m_recoveryTimer->stop();
    m_recoverySchedule.clear();
    m_recoveryWriter->remove();
}

void EditorWindow::offerRecovery()
{
    const InterfaceTexts& t = m_state.texts;
    QWidget* owner = m_dialogOwner ? m_dialogOwner : this;
    QString error;
    const auto kept = m_recoveryStore->read(&error);
    if (!kept) {
        qCWarning(lcEditor).noquote() << "Cannot read" << m_recoveryStore->copyPath() << error;
        m_platform.dialogs->warning(owner, t.plain(Text::ProgramName),
                                    t.plain(Text::RecoveryUnreadable) + QLatin1Char('\n') +
                                        m_recoveryStore->copyPath() + QLatin1Char('\n') + error);
        stopRecovery();
        return;
    }
    const RecoveryRecord& record = kept->record;
    QString question = t.plain(Text::RecoveryFound) + QStringLiteral("\n\n");
    question += record.documentPath.isEmpty()
                    ? m_document.untitledName + QString::number(record.untitledNumber)
                    : clippedForDisplay(record.documentPath);
    if (record.written.isValid())
        question += QLatin1Char('\n') + t.plain(Text::RecoveryWritten) + QLatin1Char(' ') +
                    QLocale().toString(record.written, QLocale::ShortFormat);
    question += QStringLiteral("\n\n") + t.plain(Text::RecoveryQuestion);
    const QMessageBox::StandardButton answer =
        m_platform.dialogs->message(owner, QMessageBox::Question, t.plain(Text::ProgramName),
                                    question, QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        restoreRecovery(kept->copy, record);
        return;
    }
    if (answer != QMessageBox::No || m_ending) {
        // The program was ended while it asked: the copy stays where the next start finds it.
        stopRecovery();
        return;
    }
    if (m_recoveryStore->setAside(QDateTime::currentDateTime(), &error).isEmpty()) {
        qCWarning(lcEditor).noquote() << "Cannot set aside" << m_recoveryStore->copyPath() << error;
        m_platform.dialogs->warning(owner, t.plain(Text::ProgramName),
                                    t.plain(Text::RecoveryNotSetAside) + QLatin1Char('\n') +
                                        m_recoveryStore->copyPath() + QLatin1Char('\n') + error);
        stopRecovery();
    }
}

void EditorWindow::restoreRecovery(const QByteArray& copy, const RecoveryRecord& record)
{
    m_undoRecording = false;
    m_textBox->setContents(copy);
    m_undoRecording = true;
    m_textBox->moveCursor(QTextCursor::End);
    m_history.reset(m_textBox->toPlainText(), m_textBox->textCursor().position());
    m_document.path = record.documentPath;
    if (m_document.isUntitled())
        m_document.untitledNumber = record.untitledNumber;
    m_document.modified = true;
    updateCaption();
    // The copy on the disk is this text: nothing to write until it changes.
    m_recoveryTimer->stop();
    m_recoverySchedule.clear();
    if (m_player) {
        if (!isVisible())
            m_player->runCommand(PlayerCommand::ShowHideEditor);
        if (!record.mediaPath.isEmpty())
            m_player->openMediaAt(record.mediaPath, record.position);
    }
    giveFocus();
}
