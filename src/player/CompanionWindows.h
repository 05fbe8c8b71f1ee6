#pragma once

#include <QObject>

class BookmarkCommands;
class EditorCommands;
class VideoCommands;
class WaveformCommands;
class QRect;
class QWidget;

// The editor, the bookmark window, the waveform and the video around the player: where they stand
// beside it, which of them the user wants shown, their going and coming back with the minimised
// player, and the player staying on top.
class CompanionWindows : public QObject {
    Q_OBJECT
public:
    // Follows `player`'s window state from now on.
    explicit CompanionWindows(QWidget* player);

    // Either may stay unset; the editor may come later.
    void setEditor(EditorCommands* editor) { m_editor = editor; }
    void setBookmarks(BookmarkCommands* bookmarks) { m_bookmarks = bookmarks; }
    // Shows the waveform at once when the user wanted it in the last run.
    void setWaveform(WaveformCommands* waveform);
    // Its window comes with the first file with a picture.
    void setVideo(VideoCommands* video) { m_video = video; }
    // The companion windows, or nullptr while they do not exist.
    QWidget* editorWindow() const;
    QWidget* bookmarkWindow() const;
    QWidget* waveformWindow() const;
    QWidget* videoWindow() const;

    // Whether the user wants each shown (it is hidden while the player is minimised).
    bool editorShown() const { return m_editorShown; }
    bool bookmarkWindowShown() const { return m_bookmarkWindowShown; }
    void setBookmarkWindowShown(bool shown) { m_bookmarkWindowShown = shown; }
    // Shows the editor when it is hidden, hides it when shown; false without an editor.
    bool toggleEditor();
    bool waveformShown() const;
    // Shows the waveform under the player, moving the editor below it when they would overlap,
    // or hides it; false without a waveform window.
    bool toggleWaveform();
    // Whether the user wants the picture of a video shown.
    bool videoShown() const;
    // Shows the video window (when the media has a picture) or hides it; false without one.
    bool toggleVideo();

    // Puts the editor below the player, or below the bookmark window when it has bookmarks, and
    // below the waveform when it is shown.
    void placeEditor();
    // Puts the editor where it stood (twips; an empty place puts it under the player), and shows
    // it when it was shown.
    void restoreEditor(const QRect& place, bool shown);
    // Puts the bookmark window beside the player, reaching to the editor's right edge, as tall as
    // the player when `fullHeight` (else as tall as it is); the editor goes below it.
    void placeBookmarkWindow(QWidget* window, bool fullHeight);

    // Hides the player and its companions, for a window shown in their place; then shows the
    // player again with the companions the user has shown.
    void hideAll();
    void showAll();
    // Brings the player to the front, restored if it was minimised, as far as the desktop lets a
    // program that the user is not using do so.
    void bringPlayerToFront();
    // Hands the keyboard back to the transcript after a transport command, when it is shown.
    void returnFocusToEditor();
    // The player stays above other programs' windows, or not; either way it moves to the top
    // left corner.
    void setAlwaysOnTop(bool onTop);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Hides the companions with the minimised player, and brings back those meant to be shown.
    void followPlayer();
    void showWaveform();
    // Under the player and the bookmark window `beside` it (if any), as wide as the editor.
    void placeWaveform(QWidget* beside);
    // Where the editor goes: under the lowest of `above` and the shown waveform.
    int editorTop(QWidget* above) const;

    QWidget* m_player;
    EditorCommands* m_editor = nullptr;
    BookmarkCommands* m_bookmarks = nullptr;
    WaveformCommands* m_waveform = nullptr;
    VideoCommands* m_video = nullptr;
    bool m_editorShown = false;
    bool m_bookmarkWindowShown = false;
};
