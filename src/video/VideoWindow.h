#pragma once

#include "core/PlayerCommands.h"
#include "platform/VideoRenderer.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class EditorCommands;
class InterfaceTexts;

// The video window: a tool window showing the current media's picture, drawn with OpenGL where
// the display has it and on the CPU otherwise. Double-click or F11 toggles full screen, Escape
// leaves it; the other keys run the player's commands as they do in the transcript.
class VideoWindow : public QWidget {
    Q_OBJECT
public:
    VideoWindow(const InterfaceTexts& texts, PlayerCommands& player, QWidget* parent = nullptr);
    ~VideoWindow() override;

    // Where Ctrl+T writes a timestamp; may stay unset.
    void setEditor(EditorCommands* editor) { m_editor = editor; }

    // Shows the picture `renderer` draws, in place of any shown before.
    void showVideo(std::unique_ptr<VideoRenderer> renderer);
    // Frees the view and its renderer (and with them any OpenGL context); the window stays.
    void dropVideo();
    // The widget the picture is drawn in, or nullptr.
    QWidget* view() const { return m_view; }

    void toggleFullScreen();
    void leaveFullScreen();
    void retranslate();

Q_SIGNALS:
    // The window's close button: the user no longer wants it shown.
    void closeRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setView(QWidget* view);
    void fallBackToSoftware(const QString& reason);
    void runPlayerCommand(PlayerCommand command);

    const InterfaceTexts& m_texts;
    PlayerCommands& m_player;
    EditorCommands* m_editor = nullptr;
    QPointer<QWidget> m_view;
};
