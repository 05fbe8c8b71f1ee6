#include "player/CompanionWindows.h"

#include "core/BookmarkCommands.h"
#include "core/EditorCommands.h"
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
    const QRect above = Twips::frame(under);
    Twips::move(editor, Twips::frame(m_player).left(),
                above.top() + above.height() + PlayerLayout::kEditorGap);
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
    if (editor) {
        Twips::move(editor, Twips::frame(editor).left(),
                    Twips::frame(window).bottom() + 1 + PlayerLayout::kEditorGap);
        keepOnScreen(editor);
    }
}

void CompanionWindows::hideAll()
{
    m_player->hide();
    for (QWidget* window : {editorWindow(), bookmarkWindow()}) {
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
    if (m_player->isMinimized()) {
        for (QWidget* w : {editor, bookmarks}) {
            if (w && w->isVisible())
                w->hide();
        }
        return;
    }
    if (editor && m_editorShown)
        editor->show();
    if (bookmarks && m_bookmarkWindowShown)
        bookmarks->show();
}
