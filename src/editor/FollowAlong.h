#pragma once

#include "editor/TimestampCommands.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <optional>

class Dialogs;
class MenuCommands;
class PlayerCommands;
class QAction;
class QTextDocument;
class RichTextBox;
struct AppState;

// Following along: while the recording plays, the part of the transcript being heard (between two
// timestamps) is highlighted and kept in view. A scroll of the view or a move of the caret, by
// the user or by a command such as a timestamp written at the caret, stops the following: the
// highlight stays where it was until resume(). While paused the highlight stays on the part last
// heard. Another recording or transcript is followed afresh. The highlight is an extra selection of
// the text area, so the document never changes: no undo step, nothing saved or copied.
class FollowAlong : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kOptionActionName = "followAlongAction";
    static constexpr const char* kResumeActionName = "followHeardPartAction";
    // How often the position is read while playing and following.
    static constexpr int kPollMs = 200;

    // The option is AppState::listening's; the menu entry, when given, shows it.
    FollowAlong(AppState& state, Dialogs& dialogs, PlayerCommands* player, RichTextBox* text,
                TimestampCommands& timestamps, const MenuCommands* menus = nullptr);

    // Turns the option on or off and keeps it in its file; off takes the highlight away.
    void setEnabled(bool on);
    // Follows again: the part heard now is highlighted and scrolled into view.
    void resume();

    bool isFollowing() const { return m_following; }
    // Whether the position is being read on the timer.
    bool isPolling() const { return m_poll.isActive(); }
    std::optional<TimestampCommands::TextStretch> highlighted() const;
    // One reading of the position: the highlight goes to the part heard, in view when it moved.
    void tick();

private:
    bool isShowing() const;
    // After a change of the player's state or position.
    void followPlayer();
    void stopFollowing();
    void updatePoll();
    void showHeard(bool scrollAlways);
    void setHighlight(const std::optional<TimestampCommands::TextStretch>& stretch);
    void scrollTo(int position);
    void contentChanged();

    AppState& m_state;
    Dialogs& m_dialogs;
    PlayerCommands* m_player;
    RichTextBox* m_text;
    TimestampCommands& m_timestamps;
    QAction* m_optionAction = nullptr;
    QTimer m_poll;
    bool m_following = true;
    // The document the highlight is in: another one in the text area is followed afresh.
    QPointer<QTextDocument> m_document;
};
