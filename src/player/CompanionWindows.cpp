#include "player/CompanionWindows.h"

#include "core/BookmarkCommands.h"
#include "core/EditorCommands.h"
#include "core/VideoCommands.h"
#include "core/WaveformCommands.h"
#include "platform/OnScreen.h"
#include "platform/Twips.h"
#include "player/PlayerLayout.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace {

// Twips between the player and the bookmark window beside it.
constexpr int kBookmarkGap = 60;
constexpr int kBookmarkMinimumWidth = 4200;

} // namespace

CompanionWindows::CompanionWindows(QWidget* player) : m_player(player)
{
    m_player->installEventFilter(this);
}

QWidget* CompanionWindows::editorWindow() const
{
    return m_editor ? m_editor->window() : nullptr;
}

void CompanionWindows::returnFocusToEditor()
{
    QWidget* editor = editorWindow();
    if (editor && editor->isVisible())
        m_editor->giveFocus();
}

QWidget* CompanionWindows::bookmarkWindow() const
{
    return m_bookmarks ? m_bookmarks->window() : nullptr;
}

QWidget* CompanionWindows::waveformWindow() const
{
    return m_waveform ? m_waveform->window() : nullptr;
}

QWidget* CompanionWindows::videoWindow() const
{
    return m_video ? m_video->window() : nullptr;
}

void CompanionWindows::setWaveform(WaveformCommands* waveform)
{
    m_waveform = waveform;
    if (m_waveform && m_waveform->isWanted() && m_player->isVisible())
        showWaveform();
}

bool CompanionWindows::waveformShown() const
{
    return m_waveform && m_waveform->isWanted();
}

bool CompanionWindows::toggleWaveform()
{
    QWidget* waveform = waveformWindow();
    if (!waveform)
        return false;
    m_waveform->setWanted(!waveform->isVisible());
    if (m_waveform->isWanted())
        showWaveform();
    else
        waveform->hide();
    return true;
}

void CompanionWindows::showWaveform()
{
    QWidget* waveform = waveformWindow();
    QWidget* bookmarks = bookmarkWindow();
    placeWaveform(bookmarks && bookmarks->isVisible() ? bookmarks : nullptr);
    waveform->show();
    QWidget* editor = editorWindow();
    if (editor && Twips::frame(editor).intersects(Twips::frame(waveform))) {
        Twips::move(editor, Twips::frame(editor).left(), editorTop(m_player));
        keepOnScreen(editor);
    }
}

void CompanionWindows::placeWaveform(QWidget* beside)
{
    QWidget* waveform = waveformWindow();
    const QRect player = Twips::frame(m_player);
    int bottom = player.bottom();
    if (beside)
        bottom = std::max(bottom, Twips::frame(beside).bottom());
    QWidget* editor = editorWindow();
    const int width =
        editor ? std::max(player.width(), Twips::frame(editor).width()) : player.width();
    Twips::setFrame(waveform, QRect(player.left(), bottom + 1 + PlayerLayout::kEditorGap, width,
                                    Twips::frame(waveform).height()));
    keepOnScreen(waveform);
}

bool CompanionWindows::videoShown() const
{
    return m_video && m_video->isWanted();
}

bool CompanionWindows::toggleVideo()
{
    if (!m_video)
        return false;
    m_video->setWanted(!m_video->isWanted());
    return true;
}

int CompanionWindows::editorTop(QWidget* above) const
{
    int bottom = Twips::frame(above).bottom();
    if (QWidget* waveform = waveformWindow(); waveform && waveform->isVisible())
        bottom = std::max(bottom, Twips::frame(waveform).bottom());
    return bottom + 1 + PlayerLayout::kEditorGap;
}

bool CompanionWindows::toggleEditor()
{
    QWidget* editor = editorWindow();
    if (!editor)
        return false;
    m_editorShown = !editor->isVisible();
    editor->setVisible(m_editorShown);
    return true;
}

void CompanionWindows::placeEditor()
{
    QWidget* editor = editorWindow();
    if (!editor)
        return;
    QWidget* under = m_player;
    if (m_bookmarks && m_bookmarks->hasBookmarks() && bookmarkWindow())
        under = bookmarkWindow();
    Twips::move(editor, Twips::frame(m_player).left(), editorTop(under));
    keepOnScreen(editor);
}

void CompanionWindows::restoreEditor(const QRect& place, bool shown)
{
    QWidget* editor = editorWindow();
    if (!editor)
        return;
    if (place.width() + place.height() != 0) {
        Twips::restorePlace(editor, place);
        keepOnScreen(editor);
    } else {
        placeEditor();
    }
    if (shown) {
        m_editorShown = true;
        editor->show();
    }
}

void CompanionWindows::placeBookmarkWindow(QWidget* window, bool fullHeight)
{
    if (!window)
        return;
    const QRect player = Twips::frame(m_player);
    QWidget* editor = editorWindow();
    const int editorWidth = editor ? Twips::frame(editor).width() : 0;
    const int width = std::max(kBookmarkMinimumWidth, editorWidth - player.width() - kBookmarkGap);
    const int height = fullHeight ? player.height() : Twips::frame(window).height();
    Twips::setFrame(
        window, QRect(player.left() + player.width() + kBookmarkGap, player.top(), width, height));
    keepOnScreen(window);
    if (QWidget* waveform = waveformWindow(); waveform && waveform->isVisible())
        placeWaveform(window);
    if (editor) {
        Twips::move(editor, Twips::frame(editor).left(), editorTop(window));
        keepOnScreen(editor);
    }
}

void CompanionWindows::hideAll()
{
    m_player->hide();
    for (QWidget* window : {editorWindow(), bookmarkWindow(), waveformWindow(), videoWindow()}) {
        if (window && window->isVisible())
            window->hide();
    }
}

void CompanionWindows::showAll()
{
    m_player->show();
    followPlayer();
}

void CompanionWindows::bringPlayerToFront()
{
    if (m_player->isMinimized())
        m_player->showNormal();
    else
        m_player->show();
    m_player->raise();
    m_player->activateWindow();
}

void CompanionWindows::setAlwaysOnTop(bool onTop)
{
    const bool wasVisible = m_player->isVisible();
    m_player->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    m_player->move(PlayerLayout::kTopmostCorner, PlayerLayout::kTopmostCorner);
    keepOnScreen(m_player);
    if (wasVisible)
        m_player->show();
    // The picture stays in sight with the player; the other companions are its tool windows.
    if (QWidget* video = videoWindow()) {
        const bool videoVisible = video->isVisible();
        video->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        if (videoVisible)
            video->show();
    }
}

bool CompanionWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_player && event->type() == QEvent::WindowStateChange)
        followPlayer();
    return false;
}

void CompanionWindows::followPlayer()
{
    QWidget* editor = editorWindow();
    QWidget* bookmarks = bookmarkWindow();
    QWidget* waveform = waveformWindow();
    if (m_player->isMinimized()) {
        for (QWidget* w : {editor, bookmarks, waveform, videoWindow()}) {
            if (w && w->isVisible())
                w->hide();
        }
        return;
    }
    if (editor && m_editorShown)
        editor->show();
    if (bookmarks && m_bookmarkWindowShown)
        bookmarks->show();
    if (waveform && waveformShown())
        waveform->show();
    // Shown again only while the media has a picture.
    if (videoShown())
        m_video->setWanted(true);
}
