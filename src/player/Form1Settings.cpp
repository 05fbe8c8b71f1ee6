#include "app/AppState.h"
#include "platform/Twips.h"
#include "player/Form1.h"

#include <QAction>

namespace {

struct WindowPlace {
    bool visible;
    QRect frame;
};

// Where a companion window is, or the stored place while it does not exist.
WindowPlace placeOf(const QWidget* window, bool storedVisible, QRect storedFrame)
{
    if (!window)
        return {storedVisible, storedFrame};
    return {window->isVisible(), Twips::frame(window)};
}

} // namespace

void Form1::Salva()
{
    StoredSettings s = m_stored;
    s.languageFile = m_state.languageFile;
    s.volumeText = m_knobTag;
    s.knobTop = m_knobTop;
    s.jumpSeconds = m_state.jumpSeconds;
    s.backSeconds = m_state.backSeconds;
    s.showFullPath = mnuTitoloCompleto->isChecked();
    s.editorFolder = m_state.editorFolder;
    const QRect player = Twips::frame(this);
    s.playerLeft = player.left();
    s.playerTop = player.top();
    const WindowPlace editor =
        placeOf(editorWindow(), s.editorVisible,
                QRect(s.editorLeft, s.editorTop, s.editorWidth, s.editorHeight));
    s.editorVisible = editor.visible;
    s.editorLeft = editor.frame.left();
    s.editorTop = editor.frame.top();
    s.editorWidth = editor.frame.width();
    s.editorHeight = editor.frame.height();
    s.alwaysOnTop = mnuPrimoPiano->isChecked();
    const WindowPlace bookmarks =
        placeOf(bookmarkWindow(), s.bookmarksVisible,
                QRect(s.bookmarksLeft, s.bookmarksTop, s.bookmarksWidth, s.bookmarksHeight));
    s.bookmarksVisible = bookmarks.visible;
    s.bookmarksLeft = bookmarks.frame.left();
    s.bookmarksTop = bookmarks.frame.top();
    s.bookmarksWidth = bookmarks.frame.width();
    s.bookmarksHeight = bookmarks.frame.height();
    s.playTime = m_state.playTime;
    s.pauseTime = m_state.pauseTime;
    s.smartPlay = mnuSmartPlay->isChecked();
    Q_EMIT settingsSaved(SettingsFile::write(m_state.settingsPath(), s));
}
