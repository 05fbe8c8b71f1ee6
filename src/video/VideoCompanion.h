#pragma once

#include "core/VideoCommands.h"
#include "video/VideoOptions.h"

#include <QObject>
#include <QRect>
#include <memory>

class EditorCommands;
class InterfaceTexts;
class MediaPlayer;
class PlayerCommands;
class VideoWindow;

// Decides when the video window exists and shows: it is made the first time a file with a picture
// opens (never for sound alone), shown for such files when the user wants it and the player is
// on screen, and loses its view, with the engine's renderer and any OpenGL context, when it is
// hidden, when a file without a picture opens or when the media closes: mpv then decodes the
// sound alone. Its options (shown, place) are kept in their file.
// Where the video window first shows, in twips: its frame of `size` right of `beside` (the
// player and the transcript), level with its top. A screen `area` with less room there makes it
// smaller, keeping its shape, rather than let it cover the transcript; only room too narrow for
// a useful picture leaves it to be moved back onto the screen.
QRect firstVideoFrame(const QRect& beside, const QSize& size, const QRect& area);

class VideoCompanion : public QObject, public VideoCommands {
    Q_OBJECT
public:
    // `player` is the player window, whose state the video window follows; `optionsPath` ""
    // keeps no options.
    VideoCompanion(const InterfaceTexts& texts, MediaPlayer& media, PlayerCommands& commands,
                   QWidget* player, const QString& optionsPath = QString());
    ~VideoCompanion() override;

    void setEditor(EditorCommands* editor);
    VideoWindow* videoWindow() const { return m_window.get(); }

    // VideoCommands
    QWidget* window() override;
    bool hasVideo() const override;
    bool isWanted() const override { return m_options.shown; }
    void setWanted(bool wanted) override;

Q_SIGNALS:
    // The user closed the window or asked for it: menu captions may change.
    void wantedChanged();

private:
    void followMedia();
    void showWindow();
    void hideWindow();
    // The window's place as the user left it, when it is on screen and not full screen.
    void notePlace();
    void saveOptions();

    const InterfaceTexts& m_texts;
    MediaPlayer& m_media;
    PlayerCommands& m_commands;
    QWidget* m_player;
    EditorCommands* m_editor = nullptr;
    QString m_optionsPath;
    VideoOptions m_options;
    VideoOptions m_savedOptions;
    std::unique_ptr<VideoWindow> m_window;
    // Put at its remembered place, or beside the player, when first shown.
    bool m_placed = false;
};
