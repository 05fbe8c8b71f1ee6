#include "editor/FollowAlong.h"

#include "core/AppState.h"
#include "core/Logging.h"
#include "core/MenuCommands.h"
#include "core/PlayerCommands.h"
#include "core/PlayerEvents.h"
#include "editor/RichTextBox.h"

#include <QAction>
#include <QScrollBar>

namespace {

// Marks the text area's extra selection that is the highlight, among any others it shows.
constexpr int kHighlightProperty = QTextFormat::UserProperty + 0x4641;

// A tint of the selection colour on the page: the text keeps its own colour and stays readable.
QColor highlightColour(const QPalette& palette)
{
    const QColor page = palette.color(QPalette::Base);
    const QColor tint = palette.color(QPalette::Highlight);
    const auto mix = [](int a, int b) { return (a * 3 + b) / 4; };
    return QColor(mix(page.red(), tint.red()), mix(page.green(), tint.green()),
                  mix(page.blue(), tint.blue()));
}

bool isHighlight(const QTextEdit::ExtraSelection& selection)
{
    return selection.format.hasProperty(kHighlightProperty);
}

} // namespace

FollowAlong::FollowAlong(AppState& state, Dialogs& dialogs, PlayerCommands* player,
                         RichTextBox* text, TimestampCommands& timestamps,
                         const MenuCommands* menus)
    : QObject(text), m_state(state), m_dialogs(dialogs), m_player(player), m_text(text),
      m_timestamps(timestamps), m_document(text->document())
{
    if (menus) {
        m_optionAction = menus->action(kOptionActionName);
        if (m_optionAction)
            m_optionAction->setChecked(m_state.listening.followAlong);
    }
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &FollowAlong::tick);
    connect(m_text, &QTextEdit::cursorPositionChanged, this, &FollowAlong::stopFollowing);
    // Only what the user does to a scroll bar (a drag, a click, the wheel over the text) is an
    // action: the scrolling done here and the layout's own changes of range are not.
    for (QScrollBar* bar : {m_text->verticalScrollBar(), m_text->horizontalScrollBar()})
        connect(bar, &QAbstractSlider::actionTriggered, this, &FollowAlong::stopFollowing);
    connect(m_text, &RichTextBox::contentChanged, this, &FollowAlong::contentChanged);
    if (m_player && m_player->events()) {
        PlayerEvents* events = m_player->events();
        connect(events, &PlayerEvents::playStateChanged, this, &FollowAlong::followPlayer);
        connect(events, &PlayerEvents::positionMoved, this, &FollowAlong::followPlayer);
        // Another recording is followed afresh.
        connect(events, &PlayerEvents::mediaChanged, this, [this] {
            m_following = true;
            followPlayer();
        });
    }
    followPlayer();
}

void FollowAlong::setEnabled(bool on)
{
    m_state.listening.followAlong = on;
    if (m_optionAction)
        m_optionAction->setChecked(on);
    const QString path = m_state.filesPath(QLatin1String(ListeningOptions::kFileName));
    QString error;
    if (!m_state.listening.write(path, &error)) {
        qCWarning(lcSettings).noquote() << "Listening options not saved:" << error;
        m_state.saveFailures.tell(m_dialogs, m_text->window(), m_state.texts, path, error);
    }
    if (on)
        resume();
    else
        followPlayer();
}

void FollowAlong::resume()
{
    m_following = true;
    showHeard(true);
    updatePoll();
}

std::optional<TimestampCommands::TextStretch> FollowAlong::highlighted() const
{
    for (const QTextEdit::ExtraSelection& selection : m_text->extraSelections()) {
        if (isHighlight(selection))
            return TimestampCommands::TextStretch{selection.cursor.selectionStart(),
                                                  selection.cursor.selectionEnd()};
    }
    return std::nullopt;
}

void FollowAlong::tick()
{
    if (m_following)
        showHeard(false);
    updatePoll();
}

bool FollowAlong::isShowing() const
{
    return m_state.listening.followAlong && m_player && m_player->hasMedia();
}

void FollowAlong::followPlayer()
{
    if (!isShowing())
        setHighlight(std::nullopt);
    else if (m_following)
        showHeard(false);
    updatePoll();
}

void FollowAlong::stopFollowing()
{
    m_following = false;
    updatePoll();
}

void FollowAlong::updatePoll()
{
    const bool wanted = m_following && isShowing() && m_player->playState() == PlayState::Playing;
    if (wanted && !m_poll.isActive())
        m_poll.start();
    else if (!wanted)
        m_poll.stop();
}

void FollowAlong::showHeard(bool scrollAlways)
{
    if (!isShowing()) {
        setHighlight(std::nullopt);
        return;
    }
    const auto heard = m_timestamps.heardAt(m_player->position());
    const bool moved = heard != highlighted();
    if (moved)
        setHighlight(heard);
    if (heard && (moved || scrollAlways))
        scrollTo(heard->start);
}

void FollowAlong::setHighlight(const std::optional<TimestampCommands::TextStretch>& stretch)
{
    QList<QTextEdit::ExtraSelection> selections = m_text->extraSelections();
    const auto kept = std::remove_if(selections.begin(), selections.end(), isHighlight);
    const bool had = kept != selections.end();
    selections.erase(kept, selections.end());
    if (!had && !stretch)
        return;
    if (stretch) {
        QTextEdit::ExtraSelection highlight;
        highlight.cursor = QTextCursor(m_text->document());
        highlight.cursor.setPosition(stretch->start);
        highlight.cursor.setPosition(stretch->end, QTextCursor::KeepAnchor);
        highlight.format.setBackground(highlightColour(m_text->palette()));
        highlight.format.setProperty(kHighlightProperty, true);
        selections.append(highlight);
    }
    m_text->setExtraSelections(selections);
}

void FollowAlong::scrollTo(int position)
{
    QTextCursor at(m_text->document());
    at.setPosition(position);
    const QRect place = m_text->cursorRect(at);
    const int height = m_text->viewport()->height();
    if (place.top() >= 0 && place.bottom() <= height)
        return;
    // The part heard a third of the way down, with some of what came before it above.
    QScrollBar* bar = m_text->verticalScrollBar();
    bar->setValue(bar->value() + place.top() - height / 3);
}

void FollowAlong::contentChanged()
{
    if (m_text->document() == m_document)
        return;
    // Another transcript: its highlight starts afresh, following.
    m_document = m_text->document();
    setHighlight(std::nullopt);
    m_following = true;
    followPlayer();
}
