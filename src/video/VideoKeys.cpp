#include "video/VideoKeys.h"

#include "editor/EditorKeys.h"

namespace VideoKeys {

namespace {

Qt::KeyboardModifiers held(Qt::KeyboardModifiers modifiers)
{
    return modifiers &
           (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

} // namespace

VideoKeyAction onPress(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_Escape && held(modifiers) == Qt::NoModifier)
        return {VideoWindowCommand::LeaveFullScreen, std::nullopt};
    if (key == Qt::Key_T && held(modifiers) == Qt::ControlModifier)
        return {VideoWindowCommand::InsertTimestamp, std::nullopt};
    return {std::nullopt, EditorKeys::onPress(key, modifiers).player};
}

VideoKeyAction onRelease(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_F11 && held(modifiers) == Qt::NoModifier)
        return {VideoWindowCommand::ToggleFullScreen, std::nullopt};
    // The editing keys' Italian forms touch no player command.
    return {std::nullopt, EditorKeys::onRelease(key, modifiers, false).player};
}

} // namespace VideoKeys
