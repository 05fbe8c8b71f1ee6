#pragma once

#include "FakeMediaPlayer.h"
#include "core/PlayerCommands.h"
#include "core/PlayerEvents.h"

#include <QList>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <optional>

// The player window as the bookmarks and the editor see it: a plain window, the fake engine, and a
// record of the commands run.
class FakePlayer : public PlayerCommands {
public:
    explicit FakePlayer(FakeMediaPlayer* engine) : m_engine(engine) {}

    bool hasMedia() const override { return !m_engine->url().isEmpty(); }
    QString mediaPath() const override { return m_engine->url(); }
    double position() const override { return m_engine->currentPosition(); }
    double duration() const override { return m_engine->duration(); }
    QString positionText() const override { return m_engine->currentPositionString(); }
    QString durationText() const override { return m_engine->durationString(); }
    double rate() const override { return m_engine->rate(); }
    int volume() const override { return m_engine->volume(); }
    void seekTo(double seconds) override
    {
        calls << QStringLiteral("seek %1").arg(seconds);
        const double length = m_engine->duration();
        m_engine->setCurrentPosition(length > 0 ? std::clamp(seconds, 0.0, length)
                                                : std::max(seconds, 0.0));
        Q_EMIT playerEvents.positionMoved();
    }

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
    void placeBookmarkWindow(QWidget*, bool fullHeight) override
    {
        calls << (fullHeight ? QStringLiteral("placed full height") : QStringLiteral("placed"));
    }
    void bringToFront() override { calls << QStringLiteral("front"); }

    PlayState playState() const override
    {
        return m_engine->playState() == MediaPlayer::State::Playing ? PlayState::Playing
                                                                    : PlayState::Paused;
    }
    double stoppedPosition() const override
    {
        return stoppedAt.value_or(m_engine->currentPosition());
    }
    PlayerEvents* events() override { return &playerEvents; }
    void openMedia(const QString& path) override { calls << QStringLiteral("open ") + path; }
    void setVolumeLevel(int percent) override { m_engine->setVolume(percent); }
    std::optional<TimeSpan> loopSpan() const override { return loop; }
    void setLoopMarks(const TimeSpan& span) override
    {
        calls << QStringLiteral("loop marks %1 %2").arg(span.from).arg(span.to);
    }

    PlayerEvents playerEvents;

    // The player's window, as the owner of other windows and boxes.
    QWidget player;
    bool menuShown = false;
    std::optional<double> stoppedAt;
    std::optional<TimeSpan> loop;
    QStringList calls;
    QList<PlayerCommand> commands;
    // What every command does beside being recorded: a dialog it shows, say.
    std::function<void()> onCommand;

private:
    FakeMediaPlayer* m_engine;
};
