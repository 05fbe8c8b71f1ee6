#include "editor/TypingPause.h"

#include "core/ListeningOptions.h"
#include "core/PlayerCommands.h"
#include "editor/RichTextBox.h"

TypingPause::TypingPause(const ListeningOptions& options, PlayerCommands* player, RichTextBox* text)
    : QObject(text), m_options(options), m_player(player)
{
    m_rest.setSingleShot(true);
    connect(&m_rest, &QTimer::timeout, this, &TypingPause::playOn);
    connect(text, &RichTextBox::keyHandled, this, &TypingPause::keyTyped);
}

bool TypingPause::isTyping(const KeyStroke& stroke)
{
    if (stroke.modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (stroke.key) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        return true;
    default:
        // Letters, digits, signs and the space; the keys that move or command sit above them.
        return stroke.key >= Qt::Key_Space && stroke.key < Qt::Key_Escape;
    }
}

void TypingPause::keyTyped(const KeyStroke& stroke)
{
    if (!m_options.typeToPause || !m_player || !isTyping(stroke))
        return;
    if (m_player->playState() == PlayState::Playing) {
        m_player->togglePlayPause();
        m_pausedByTyping = true;
    }
    if (m_pausedByTyping)
        m_rest.start(m_options.typingRestMs);
}

void TypingPause::playOn()
{
    // Played or stopped meanwhile by the user: theirs to decide.
    if (m_pausedByTyping && m_player->playState() == PlayState::Paused)
        m_player->togglePlayPause();
    m_pausedByTyping = false;
}
