#pragma once

#include "FakeMediaPlayer.h"
#include "core/PlayerCommands.h"
#include "core/PlayerEvents.h"

#include <QList>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

// The player window as the bookmarks and the editor see it: two plain windows, the fake engine, and
// a record of the commands run.
class FakePlayer : public PlayerCommands {
public:
    explicit FakePlayer(FakeMediaPlayer* engine) : m_engine(engine) {}

    QWidget* playerWindow() override { return &player; }
    QWidget* transcriptWindow() override { return hasEditor ? &editor : nullptr; }
    MediaPlayer* media() override { return m_engine; }

    void togglePlayPause() override
    {
        calls << QStringLiteral("play toggle");
        if (m_engine->playState() == MediaPlayer::State::Playing)
            m_engine->pause();
        else
            m_engine->play();
    }
    void skipForward() override { calls << QStringLiteral("forward"); }
    void skipBack() override { calls << QStringLiteral("back"); }
    void stop() override { calls << QStringLiteral("stop"); }
    void playFrom(double seconds) override
    {
        calls << QStringLiteral("play from %1").arg(seconds);
        m_engine->setCurrentPosition(seconds);
        m_engine->play();
    }
    void openMediaAt(const QString& path, double seconds) override
    {
        calls << QStringLiteral("open %1 at %2").arg(path).arg(seconds);
        m_engine->setUrl(path);
        m_engine->setCurrentPosition(seconds);
        m_engine->pause();
    }
    void refreshDisplay() override { calls << QStringLiteral("refresh"); }
    void setBookmarkMenuShown(bool shown) override
    {
        menuShown = shown;
        calls << (shown ? QStringLiteral("menu shown") : QStringLiteral("menu hidden"));
    }

    void runCommand(PlayerCommand command) override
    {
        commands << command;
        if (onCommand)
            onCommand();
    }
    void hideWindows() override { calls << QStringLiteral("windows hidden"); }
    void showWindows() override { calls << QStringLiteral("windows shown"); }

    TransportState transportState() const override
    {
        return m_engine->playState() == MediaPlayer::State::Playing ? TransportState::Playing
                                                                    : TransportState::Paused;
    }
    double stoppedPosition() const override
    {
        return stoppedAt.value_or(m_engine->currentPosition());
    }
    PlayerEvents* events() override { return &playerEvents; }
    void openMedia(const QString& path) override { calls << QStringLiteral("open ") + path; }
    void setVolumeLevel(int percent) override { m_engine->setVolume(percent); }

    PlayerEvents playerEvents;

    QWidget player;
    QWidget editor;
    bool hasEditor = true;
    bool menuShown = false;
    std::optional<double> stoppedAt;
    QStringList calls;
    QList<PlayerCommand> commands;
    // What every command does beside being recorded: a dialog it shows, say.
    std::function<void()> onCommand;

private:
    FakeMediaPlayer* m_engine;
};
