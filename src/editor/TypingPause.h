#pragma once

#include <QObject>
#include <QTimer>

class PlayerCommands;
class RichTextBox;
struct KeyStroke;
struct ListeningOptions;

// Type to pause: while the recording plays, the first key typed in the transcript pauses it (with
// the pause's usual step back), and once the typing has rested it plays on. Moving the caret and
// the player's own keys are not typing.
class TypingPause : public QObject {
    Q_OBJECT
public:
    // The options are read at each key, so a change applies at once.
    TypingPause(const ListeningOptions& options, PlayerCommands* player, RichTextBox* text);

    // Whether the key writes or removes text.
    static bool isTyping(const KeyStroke& stroke);

private:
    void keyTyped(const KeyStroke& stroke);
    void playOn();

    const ListeningOptions& m_options;
    PlayerCommands* m_player;
    QTimer m_rest;
    // The pause was the typing's: only then does the rest play on.
    bool m_pausedByTyping = false;
};
