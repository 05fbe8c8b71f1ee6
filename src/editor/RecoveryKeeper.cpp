#include "editor/RecoveryKeeper.h"

#include "core/AppState.h"
#include "core/Logging.h"
#include "core/PlayerCommands.h"
#include "editor/DocumentSnapshot.h"
#include "editor/EditorDocument.h"
#include "editor/RecoveryStore.h"
#include "editor/RecoveryWriter.h"
#include "platform/Dialogs.h"
#include "platform/TextFile.h"
#include "rtf/RtfWriter.h"

#include <QLocale>
#include <QTextEdit>
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

RecoveryKeeper::RecoveryKeeper(AppState& state, Dialogs& dialogs, PlayerCommands* player,
                               Editor editor, QObject* parent)
    : QObject(parent), m_state(state), m_dialogs(dialogs), m_player(player),
      m_editor(std::move(editor))
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("recoveryTimer"));
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &RecoveryKeeper::writeCopy);
}

RecoveryKeeper::~RecoveryKeeper() = default;

void RecoveryKeeper::start()
{
    if (m_store)
        return;
    if (claim() && m_store->hasCopy())
        offer();
}

QWidget* RecoveryKeeper::startOwner() const
{
    return m_editor.startOwner ? m_editor.startOwner() : m_editor.window;
}

void RecoveryKeeper::warn(QWidget* owner, Text what, const QString& path, const QString& error)
{
    const InterfaceTexts& t = m_state.texts;
    m_dialogs.warning(owner, t.plain(Text::ProgramName),
                      t.plain(what) + QLatin1Char('\n') + path + QLatin1Char('\n') + error);
}

bool RecoveryKeeper::claim()
{
    if (!m_clock.isValid())
        m_clock.start();
    auto store = std::make_unique<RecoveryStore>(m_state.path(QStringLiteral("Recovery")));
    QString error;
    if (!store->claim(&error)) {
        qCWarning(lcEditor).noquote() << "No recovery copies for now:" << store->folder() << error;
        m_retry.failed(m_clock.elapsed());
        // The user would believe the text safe: said once, and tried again quietly.
        if (!m_unavailableTold) {
            m_unavailableTold = true;
            warn(startOwner(), Text::RecoveryUnavailable, store->folder(), error);
        }
        return false;
    }
    m_retry.clear();
    m_store = std::move(store);
    m_writer = std::make_unique<RecoveryWriter>(*m_store);
    connect(m_writer.get(), &RecoveryWriter::failed, this,
            [this](const QString& path, const QString& reason) {
                m_state.saveFailures.tell(m_dialogs, m_editor.window, m_state.texts, path, reason);
            });
    return true;
}

void RecoveryKeeper::retry()
{
    if (m_store || !claim())
        return;
    // A copy an earlier run left under this name is kept, never written over; offering it now
    // would replace the text being typed.
    if (!m_store->hasCopy())
        return;
    QString error;
    if (m_store->setAside(QDateTime::currentDateTime(), &error).isEmpty()) {
        qCWarning(lcEditor).noquote() << "Cannot set aside" << m_store->copyPath() << error;
        warn(m_editor.window, Text::RecoveryNotSetAside, m_store->copyPath(), error);
        stop();
    }
}

void RecoveryKeeper::stop()
{
    clearDue();
    m_retry.clear();
    m_writer.reset();
    m_store.reset();
}

void RecoveryKeeper::clearDue()
{
    m_timer->stop();
    m_schedule.clear();
}

void RecoveryKeeper::noteChange()
{
    if (!m_clock.isValid())
        return;
    const qint64 now = m_clock.elapsed();
    if (!m_writer && m_retry.isDue(now))
        retry();
    if (!m_writer)
        return;
    m_schedule.changed(now);
    m_timer->start(int(std::max<qint64>(m_schedule.dueAt() - now, 0)));
}

void RecoveryKeeper::writeCopy()
{
    clearDue();
    if (!m_writer || !m_editor.document->modified)
        return;
    // A transcript emptied on purpose leaves nothing worth offering at the next start.
    if (m_editor.text->document()->isEmpty()) {
        m_writer->remove();
        return;
    }
    m_writer->write(DocumentSnapshot::take(*m_editor.text->document()), record());
}

RecoveryRecord RecoveryKeeper::record() const
{
    const EditorDocument& document = *m_editor.document;
    RecoveryRecord record;
    record.documentPath = document.path;
    record.untitledNumber = document.untitledNumber;
    if (m_player && m_player->hasMedia()) {
        record.mediaPath = m_player->mediaPath();
        record.position = std::max(m_player->position(), 0.0);
    }
    record.written = QDateTime::currentDateTime();
    return record;
}

QString RecoveryKeeper::setChangesAside(QString* error)
{
    if (!m_store) {
        *error = QStringLiteral("Recovery copies are off");
        return QString();
    }
    clearDue();
    // Written here rather than on the writer's thread: its outcome decides whether the text may
    // leave the editor, and nothing the thread still had to do may land after it.
    m_writer->waitForDone();
    const QByteArray copy = RtfWriter::write(*m_editor.text->document());
    if (!m_store->write(copy, record(), error))
        return QString();
    const QString kept = m_store->setAside(QDateTime::currentDateTime(), error);
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

void RecoveryKeeper::keepCopy()
{
    m_ending = true;
    flush();
}

void RecoveryKeeper::flush()
{
    if (!m_writer)
        return;
    if (m_editor.document->modified)
        writeCopy();
    m_writer->waitForDone();
}

void RecoveryKeeper::discardCopy()
{
    if (!m_writer)
        return;
    clearDue();
    m_writer->remove();
}

void RecoveryKeeper::offer()
{
    const InterfaceTexts& t = m_state.texts;
    QWidget* owner = startOwner();
    QString error;
    const auto kept = m_store->read(&error);
    if (!kept) {
        qCWarning(lcEditor).noquote() << "Cannot read" << m_store->copyPath() << error;
        warn(owner, Text::RecoveryUnreadable, m_store->copyPath(), error);
        stop();
        return;
    }
    const RecoveryRecord& record = kept->record;
    QString question = t.plain(Text::RecoveryFound) + QStringLiteral("\n\n");
    question += record.documentPath.isEmpty()
                    ? m_editor.document->untitledName + QString::number(record.untitledNumber)
                    : clippedForDisplay(record.documentPath);
    if (record.written.isValid())
        question += QLatin1Char('\n') + t.plain(Text::RecoveryWritten) + QLatin1Char(' ') +
                    QLocale().toString(record.written, QLocale::ShortFormat);
    question += QStringLiteral("\n\n") + t.plain(Text::RecoveryQuestion);
    const QMessageBox::StandardButton answer =
        m_dialogs.message(owner, QMessageBox::Question, t.plain(Text::ProgramName), question,
                          QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        m_editor.restore(kept->copy, record);
        // The copy on the disk is this text: nothing to write until it changes.
        clearDue();
        return;
    }
    if (answer != QMessageBox::No || m_ending) {
        // The program was ended while it asked: the copy stays where the next start finds it.
        stop();
        return;
    }
    if (m_store->setAside(QDateTime::currentDateTime(), &error).isEmpty()) {
        qCWarning(lcEditor).noquote() << "Cannot set aside" << m_store->copyPath() << error;
        warn(owner, Text::RecoveryNotSetAside, m_store->copyPath(), error);
        stop();
    }
}
