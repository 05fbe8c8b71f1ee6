#include "editor/TimestampCommands.h"

#include "core/AppState.h"
#include "core/Logging.h"
#include "core/MenuCommands.h"
#include "core/PlayerCommands.h"
#include "editor/EditorToolbar.h"
#include "editor/RichTextBox.h"

#include <QAction>
#include <QTextBlock>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <ranges>

namespace {

// How much of what follows a timestamp its mark shows.
constexpr int kWordsShown = 80;

// The marks of a paragraph, dropped when it changes.
struct BlockMarks : QTextBlockUserData {
    TimeMarks marks;
    // Where each begins in the paragraph.
    QList<int> starts;
};

// Calls `visit(found)` for each timestamp of the paragraph in order, positions within it, until
// it returns false.
template <typename Visit> void eachTimestamp(const QTextBlock& block, Visit visit)
{
    const QString text = block.text();
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text.at(at) != QLatin1Char('[') && text.at(at) != QLatin1Char('#'))
            continue;
        if (const auto found = Timestamp::parseAt(text, at)) {
            if (!visit(*found))
                return;
            at += found->length - 1;
        }
    }
}

} // namespace

TimestampCommands::TimestampCommands(AppState& state, Dialogs& dialogs, PlayerCommands* player,
                                     RichTextBox* text, const MenuCommands* menus)
    : QObject(text), m_state(state), m_dialogs(dialogs), m_player(player), m_text(text)
{
    if (menus) {
        m_insertAction = menus->action(kInsertActionName);
        for (int i = 0; i < Timestamp::kStyleCount; ++i)
            m_styleActions[size_t(i)] = menus->action(kStyleActionNames[size_t(i)]);
        m_newParagraphAction = menus->action(kNewParagraphActionName);
        m_afterStepBackAction = menus->action(kAfterStepBackActionName);
    }
    connect(m_text, &RichTextBox::keyHandled, this, &TimestampCommands::stampNewParagraph);
    connect(m_text, &RichTextBox::contentChanged, this, &TimestampCommands::forgetMarks);
    connect(m_text, &RichTextBox::controlClicked, this,
            [this](int position) { playFrom(position, true); });

    QString error;
    const QString path = m_state.filesPath(QLatin1String(TimestampOptions::kFileName));
    m_state.timestamps = TimestampOptions::read(path, &error);
    if (!error.isEmpty())
        qCWarning(lcSettings).noquote() << "Cannot read" << path << error;
    showOptions();
}

void TimestampCommands::retranslate(EditorToolbar& toolbar) const
{
    const InterfaceTexts& t = m_state.texts;
    toolbar.setZoneName(EditorToolbar::Zone::Timestamp, t.plain(Text::InsertTimestamp));
    const QKeySequence key = m_insertAction ? m_insertAction->shortcut() : QKeySequence();
    toolbar.setZoneToolTip(EditorToolbar::Zone::Timestamp,
                           t.plain(Text::InsertTimestamp) + QStringLiteral(" (") +
                               key.toString(QKeySequence::NativeText) + QLatin1Char(')'));
}

void TimestampCommands::showOptions()
{
    const TimestampOptions& options = m_state.timestamps;
    if (QAction* style = m_styleActions[size_t(options.style)])
        style->setChecked(true);
    if (m_newParagraphAction)
        m_newParagraphAction->setChecked(options.stampNewParagraphs);
    if (m_afterStepBackAction)
        m_afterStepBackAction->setChecked(options.afterStepBack);
}

void TimestampCommands::setStyle(Timestamp::Style style)
{
    m_state.timestamps.style = style;
    showOptions();
    saveOptions();
}

void TimestampCommands::setStampNewParagraphs(bool on)
{
    m_state.timestamps.stampNewParagraphs = on;
    showOptions();
    saveOptions();
}

void TimestampCommands::setStampAfterStepBack(bool on)
{
    m_state.timestamps.afterStepBack = on;
    showOptions();
    saveOptions();
}

void TimestampCommands::saveOptions()
{
    const QString path = m_state.filesPath(QLatin1String(TimestampOptions::kFileName));
    QString error;
    if (!m_state.timestamps.write(path, &error)) {
        qCWarning(lcSettings).noquote() << "Timestamp options not saved:" << error;
        m_state.saveFailures.tell(m_dialogs, m_text->window(), m_state.texts, path, error);
    }
}

bool TimestampCommands::hasMedia() const
{
    return m_player && m_player->hasMedia();
}

void TimestampCommands::insert()
{
    m_text->setFocus();
    if (!hasMedia())
        return;
    QTextCursor cursor = m_text->textCursor();
    cursor.clearSelection();
    // Kept apart from the words on either side, as a user would type it.
    const QString line = cursor.block().text();
    const int at = cursor.positionInBlock();
    QString stamp = Timestamp::formatSeconds(m_state.timestamps.positionOf(*m_player),
                                             m_state.timestamps.style);
    if (at > 0 && !line.at(at - 1).isSpace())
        stamp.prepend(QLatin1Char(' '));
    if (at >= line.size() || !line.at(at).isSpace())
        stamp.append(QLatin1Char(' '));
    cursor.insertText(stamp);
    m_text->setTextCursor(cursor);
}

void TimestampCommands::playFromCaret()
{
    playFrom(m_text->textCursor().position(), false);
    m_text->setFocus();
}

bool TimestampCommands::playFrom(int position, bool onTimestamp)
{
    if (!hasMedia())
        return false;
    const auto found = Timestamp::findAtOrBefore(*m_text->document(), position);
    if (!found || (onTimestamp && position > found->start + found->length))
        return false;
    double seconds = found->milliseconds / 1000.0;
    const double length = m_player->duration();
    if (length > 0)
        seconds = std::min(seconds, length);
    m_player->playFrom(seconds);
    return true;
}

const TimeMarks& TimestampCommands::marks()
{
    if (!m_marksStale)
        return m_marks;
    m_marks.clear();
    m_markStarts.clear();
    // Only the paragraphs changed since the last reading are read again (the others keep their
    // marks in their user data): a long transcript is typed in while its marks are shown.
    for (QTextBlock block = m_text->document()->begin(); block.isValid(); block = block.next()) {
        auto* known = static_cast<BlockMarks*>(block.userData());
        if (!known) {
            known = new BlockMarks;
            const QString text = block.text();
            eachTimestamp(block, [&](const Timestamp::Found& found) {
                known->marks.append({found.milliseconds / 1000.0,
                                     text.mid(found.start, found.length + kWordsShown).trimmed()});
                known->starts.append(int(found.start));
                return true;
            });
            block.setUserData(known);
        }
        m_marks.append(known->marks);
        const int blockStart = block.position();
        for (const int start : std::as_const(known->starts))
            m_markStarts.append(blockStart + start);
    }
    m_marksStale = false;
    m_byTimeStale = true;
    return m_marks;
}

std::optional<TimestampCommands::TextStretch> TimestampCommands::heardAt(double seconds)
{
    const TimeMarks& all = marks();
    if (m_byTimeStale) {
        // A transcript's times mostly rise through the text: then the text's order serves.
        const auto earlier = [](const TimeMark& a, const TimeMark& b) {
            return a.seconds < b.seconds;
        };
        m_byTime.clear();
        if (!std::is_sorted(all.cbegin(), all.cend(), earlier)) {
            m_byTime.resize(all.size());
            std::iota(m_byTime.begin(), m_byTime.end(), 0);
            std::stable_sort(m_byTime.begin(), m_byTime.end(),
                             [&all](int a, int b) { return all[a].seconds < all[b].seconds; });
        }
        m_byTimeStale = false;
    }
    const auto markAt = [this](qsizetype k) { return m_byTime.isEmpty() ? int(k) : m_byTime[k]; };
    // The first of the `count` earliest marks that is later than `time` (or as late, with
    // `orEqual`): a binary search in time order.
    const auto firstLater = [&](qsizetype count, double time, bool orEqual) {
        const auto range = std::views::iota(qsizetype(0), count);
        return std::ranges::partition_point(range,
                                            [&](qsizetype k) {
                                                const double at = all[markAt(k)].seconds;
                                                return orEqual ? at < time : at <= time;
                                            }) -
               range.begin();
    };
    const qsizetype later = firstLater(all.size(), seconds, false);
    if (later == 0)
        return std::nullopt;
    const qsizetype first = firstLater(later, all[markAt(later - 1)].seconds, true);
    const int index = markAt(first);
    const int start = m_markStarts[index];
    int end = index + 1 < m_markStarts.size() ? m_markStarts[index + 1] : m_text->plainLength();
    // Without the blanks and empty lines before the next timestamp.
    while (end > start && m_text->document()->characterAt(end - 1).isSpace())
        --end;
    return TextStretch{start, end};
}

void TimestampCommands::forgetMarks()
{
    m_marksStale = true;
    const RichTextBox::TextChange change = m_text->lastChange();
    const QTextDocument& document = *m_text->document();
    QTextBlock block = change.known ? document.findBlock(change.position) : document.begin();
    const QTextBlock last =
        change.known ? document.findBlock(change.position + change.added) : document.lastBlock();
    for (; block.isValid(); block = block.next()) {
        block.setUserData(nullptr);
        if (block == last)
            break;
    }
}

bool TimestampCommands::goTo(double seconds)
{
    const auto milliseconds = qint64(std::llround(seconds * 1000));
    int position = -1;
    for (QTextBlock block = m_text->document()->begin(); block.isValid() && position < 0;
         block = block.next()) {
        eachTimestamp(block, [&](const Timestamp::Found& found) {
            if (found.milliseconds == milliseconds)
                position = block.position() + int(found.start);
            return position < 0;
        });
    }
    if (position < 0)
        return false;
    QTextCursor cursor(m_text->document());
    cursor.setPosition(position);
    m_text->setTextCursor(cursor);
    m_text->ensureCursorVisible();
    m_text->window()->activateWindow();
    m_text->setFocus();
    return true;
}

void TimestampCommands::stampNewParagraph(const KeyStroke& stroke)
{
    const bool newParagraph = stroke.key == Qt::Key_Return || stroke.key == Qt::Key_Enter;
    const Qt::KeyboardModifiers held =
        stroke.modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    // Shift+Return breaks the line inside the paragraph.
    if (!newParagraph || held != Qt::NoModifier || !m_state.timestamps.stampNewParagraphs)
        return;
    if (m_text->textCursor().positionInBlock() == 0)
        insert();
}
