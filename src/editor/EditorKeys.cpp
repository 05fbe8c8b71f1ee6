#include "editor/EditorKeys.h"

#include <QString>

namespace EditorKeys {

namespace {

// Keypad and other flags do not count; only Shift, Ctrl, Alt and Meta do.
Qt::KeyboardModifiers held(Qt::KeyboardModifiers modifiers)
{
    return modifiers &
           (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

bool ctrlAlone(Qt::KeyboardModifiers modifiers)
{
    return held(modifiers) == Qt::ControlModifier;
}

KeyAction player(PlayerCommand command)
{
    return {std::nullopt, command, true};
}

KeyAction editor(EditorCommand command)
{
    return {command, std::nullopt, true};
}

} // namespace

KeyAction onPress(int key, Qt::KeyboardModifiers modifiers)
{
    if (!ctrlAlone(modifiers))
        return {};
    switch (key) {
    case Qt::Key_M:
        return player(PlayerCommand::AddBookmark);
    case Qt::Key_L:
        return player(PlayerCommand::Loop);
    case Qt::Key_O:
        return player(PlayerCommand::OpenMedia);
    case Qt::Key_Q:
        return player(PlayerCommand::Exit);
    case Qt::Key_W:
        return player(PlayerCommand::ChooseLanguage);
    case Qt::Key_F1:
        return player(PlayerCommand::About);
    case Qt::Key_F4:
        return player(PlayerCommand::CloseMedia);
    case Qt::Key_F6:
        return player(PlayerCommand::SlowDown);
    case Qt::Key_F7:
        return player(PlayerCommand::SpeedUp);
    case Qt::Key_F9:
        return player(PlayerCommand::CleanUp);
    case Qt::Key_I:
    case Qt::Key_V:
    case Qt::Key_C:
    case Qt::Key_X:
    case Qt::Key_Y:
    case Qt::Key_Z:
        // Run when the key comes up; the text area must not run its own version.
        return {std::nullopt, std::nullopt, true};
    default:
        return {};
    }
}

KeyAction onRelease(int key, Qt::KeyboardModifiers modifiers, bool italianKeys)
{
    if (ctrlAlone(modifiers)) {
        switch (key) {
        case Qt::Key_Z:
            return editor(EditorCommand::Undo);
        case Qt::Key_Y:
            return editor(EditorCommand::Redo);
        case Qt::Key_C:
            return editor(EditorCommand::Copy);
        case Qt::Key_V:
            return editor(EditorCommand::Paste);
        case Qt::Key_X:
            return editor(EditorCommand::Cut);
        case Qt::Key_I:
            return editor(EditorCommand::Italic);
        case Qt::Key_B:
            if (!italianKeys)
                return editor(EditorCommand::Bold);
            break;
        case Qt::Key_U:
            if (!italianKeys)
                return editor(EditorCommand::Underline);
            break;
        case Qt::Key_G:
            if (italianKeys)
                return editor(EditorCommand::Bold);
            break;
        case Qt::Key_S:
            if (italianKeys)
                return editor(EditorCommand::Underline);
            break;
        default:
            break;
        }
    }
    switch (key) {
    case Qt::Key_F1:
        return player(PlayerCommand::Help);
    case Qt::Key_F2:
        return player(PlayerCommand::LoopStart);
    case Qt::Key_F4:
        // Ctrl+F4 has closed the recording as it went down.
        if (!ctrlAlone(modifiers))
            return player(PlayerCommand::LoopEnd);
        return {};
    case Qt::Key_F5:
        return player(PlayerCommand::PlayPause);
    case Qt::Key_F6:
        return player(PlayerCommand::SkipBack);
    case Qt::Key_F7:
        return player(PlayerCommand::SkipForward);
    case Qt::Key_F8:
        return player(PlayerCommand::BookmarkWindow);
    case Qt::Key_F9:
        // Ctrl+F9 has switched the clean-up as it went down.
        if (!ctrlAlone(modifiers))
            return player(PlayerCommand::AudioSettings);
        return {};
    case Qt::Key_F11:
        return player(PlayerCommand::FullPath);
    case Qt::Key_F12:
        return player(PlayerCommand::WaveformWindow);
    default:
        return {};
    }
}

bool keepsFromMenu(int key, Qt::KeyboardModifiers modifiers)
{
    if (!ctrlAlone(modifiers))
        return false;
    switch (key) {
    case Qt::Key_Z:
    case Qt::Key_Y:
    case Qt::Key_C:
    case Qt::Key_V:
    case Qt::Key_X:
        return true;
    default:
        return false;
    }
}

bool usesItalianKeys(const QString& languageFile)
{
    return languageFile.toLower() == QLatin1String("italiano.lng");
}

} // namespace EditorKeys
