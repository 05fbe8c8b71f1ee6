#pragma once

#include "core/TimeMark.h"
#include "core/Timestamp.h"

#include <QList>
#include <QObject>
#include <array>
#include <optional>

class Dialogs;
class EditorToolbar;
class MenuCommands;
class PlayerCommands;
class QAction;
class RichTextBox;
struct AppState;
struct KeyStroke;

// The editor's timestamp commands on its text area: writing the player's position at the caret,
// playing from a timestamp in the text, stamping new paragraphs, and the options of the Timestamps
// menu, kept in their file as soon as they change.
class TimestampCommands : public QObject {
    Q_OBJECT
public:
    // The object names of the menu entries it keeps in step with the options.
    static constexpr const char* kInsertActionName = "insertTimestampAction";
    static constexpr const char* kNewParagraphActionName = "newParagraphStampAction";
    static constexpr const char* kAfterStepBackActionName = "afterStepBackStampAction";
    static constexpr std::array<const char*, Timestamp::kStyleCount> kStyleActionNames = {
        "timestampHoursMinutesSecondsAction", "timestampTenthsAction",
        "timestampMinutesSecondsAction", "timestampHashHundredthsAction"};

    // Reads the options from their file and lets the text area's keys and clicks use them. The
    // menu entries, when given, show the options.
    TimestampCommands(AppState& state, Dialogs& dialogs, PlayerCommands* player, RichTextBox* text,
                      const MenuCommands* menus = nullptr);

    // The timestamp zone's name and tip, with the shortcut of its menu entry.
    void retranslate(EditorToolbar& toolbar) const;

    // Writes the player's position at the caret in the chosen style, apart from the words on
    // either side; nothing without media.
    void insert();
    // Plays from the timestamp at the caret or the nearest one before it (the end of the media
    // for one beyond it); nothing without media or such a timestamp.
    void playFromCaret();
    // Plays from the timestamp at or before the position; with `onTimestamp`, only from one the
    // position lies in. False when nothing plays.
    bool playFrom(int position, bool onTimestamp);

    // Every timestamp of the text, in document order, with the words that follow it.
    const TimeMarks& marks();

    // A stretch of the text between two positions.
    struct TextStretch {
        int start = 0;
        int end = 0;
        bool operator==(const TextStretch&) const = default;
    };
    // The part of the text heard at `seconds`: from the timestamp of the latest time at or before
    // it (of equal ones, the first in the text) to the next timestamp of the text, or to the
    // text's end, without the blanks before it; none before the earliest timestamp. A search
    // among the marks, not the text.
    std::optional<TextStretch> heardAt(double seconds);
    // Puts the caret on the first timestamp of the text at `seconds` (to the millisecond) and
    // gives the text the keyboard; false when there is none.
    bool goTo(double seconds);

    void setStyle(Timestamp::Style style);
    void setStampNewParagraphs(bool on);
    void setStampAfterStepBack(bool on);

private:
    // After the text area took a key: a Return that began a paragraph gets its timestamp.
    void stampNewParagraph(const KeyStroke& stroke);
    bool hasMedia() const;
    // A change of the text: the marks of the paragraphs it touched are read again.
    void forgetMarks();
    void showOptions();
    void saveOptions();

    AppState& m_state;
    Dialogs& m_dialogs;
    PlayerCommands* m_player;
    RichTextBox* m_text;
    QAction* m_insertAction = nullptr;
    std::array<QAction*, Timestamp::kStyleCount> m_styleActions{};
    QAction* m_newParagraphAction = nullptr;
    QAction* m_afterStepBackAction = nullptr;
    TimeMarks m_marks;
    // Where each of m_marks begins in the text.
    QList<int> m_markStarts;
    // The indexes of m_marks by time, made when first asked after the marks are read again.
    QList<int> m_byTime;
    bool m_marksStale = true;
    bool m_byTimeStale = true;
};
