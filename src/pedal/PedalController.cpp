#include "pedal/PedalController.h"

#include "core/BookmarkCommands.h"
#include "core/EditorCommands.h"
#include "core/PlayerCommands.h"

#include <utility>

namespace {

constexpr Pedal kPedals[kPedalCount] = {Pedal::Left, Pedal::Middle, Pedal::Right};

bool repeats(PedalAction action)
{
    return action == PedalAction::SkipBack || action == PedalAction::SkipForward;
}

} // namespace

PedalController::PedalController(QObject* parent) : QObject(parent)
{
    for (Pedal pedal : kPedals) {
        QTimer& timer = m_repeat[size_t(pedal)];
        timer.setInterval(kRepeatMs);
        connect(&timer, &QTimer::timeout, this, [this, pedal] { repeat(pedal); });
    }
}

void PedalController::setDown(PedalSet down)
{
    const PedalSet before = m_down;
    m_down = down;
    // Up first: a report that swaps pedals stops one action before the next begins.
    for (Pedal pedal : kPedals) {
        if (before.has(pedal) && !down.has(pedal))
            release(pedal);
    }
    for (Pedal pedal : kPedals) {
        if (!before.has(pedal) && down.has(pedal))
            press(pedal);
    }
}

void PedalController::press(Pedal pedal)
{
    const PedalAction action = m_options.action(pedal);
    m_held[size_t(pedal)] = action;
    if (action == PedalAction::HoldToPlay) {
        if (m_targets.player && m_targets.player->playState() != PlayState::Playing)
            m_targets.player->togglePlayPause();
        return;
    }
    run(action);
    if (repeats(action))
        m_repeat[size_t(pedal)].start();
}

void PedalController::release(Pedal pedal)
{
    m_repeat[size_t(pedal)].stop();
    const auto action = std::exchange(m_held[size_t(pedal)], std::nullopt);
    // The pause steps back, so that playing again repeats the last words.
    if (action == PedalAction::HoldToPlay && m_targets.player &&
        m_targets.player->playState() == PlayState::Playing)
        m_targets.player->togglePlayPause();
}

void PedalController::repeat(Pedal pedal)
{
    const auto action = m_held[size_t(pedal)];
    if (action && repeats(*action))
        run(*action);
    else
        m_repeat[size_t(pedal)].stop();
}

bool PedalController::hasMedia() const
{
    return m_targets.player && m_targets.player->hasMedia();
}

void PedalController::run(PedalAction action)
{
    PlayerCommands* player = m_targets.player;
    switch (action) {
    case PedalAction::SkipBack:
        if (player)
            player->runCommand(PlayerCommand::SkipBack);
        break;
    case PedalAction::SkipForward:
        if (player)
            player->runCommand(PlayerCommand::SkipForward);
        break;
    case PedalAction::PlayPause:
        if (player)
            player->runCommand(PlayerCommand::PlayPause);
        break;
    case PedalAction::Faster:
        if (player)
            player->runCommand(PlayerCommand::SpeedUp);
        break;
    case PedalAction::Slower:
        if (player)
            player->runCommand(PlayerCommand::SlowDown);
        break;
    case PedalAction::Loop:
        if (player)
            player->runCommand(PlayerCommand::Loop);
        break;
    case PedalAction::NextBookmark:
        // As the player's menu entry, there only while a recording is open.
        if (m_targets.bookmarks && hasMedia())
            m_targets.bookmarks->nextBookmark();
        break;
    case PedalAction::InsertTimestamp:
        if (m_targets.editor)
            m_targets.editor->insertTimestamp();
        break;
    case PedalAction::HoldToPlay:
    case PedalAction::Nothing:
        break;
    }
}
