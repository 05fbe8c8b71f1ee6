#include "app/AppState.h"
#include "platform/Twips.h"
#include "player/Form1.h"

#include <QAction>

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
    if (QWidget* editor = editorWindow()) {
        s.editorVisible = editor->isVisible();
        const QRect frame = Twips::frame(editor);
        s.editorLeft = frame.left();
        s.editorTop = frame.top();
        s.editorWidth = frame.width();
        s.editorHeight = frame.height();
    }
    s.alwaysOnTop = mnuPrimoPiano->isChecked();
    if (QWidget* bookmarks = bookmarkWindow()) {
        s.bookmarksVisible = bookmarks->isVisible();
        const QRect frame = Twips::frame(bookmarks);
        s.bookmarksLeft = frame.left();
        s.bookmarksTop = frame.top();
        s.bookmarksWidth = frame.width();
        s.bookmarksHeight = frame.height();
    }
    s.playTime = m_state.playTime;
    s.pauseTime = m_state.pauseTime;
    s.smartPlay = mnuSmartPlay->isChecked();
    Q_EMIT settingsSaved(SettingsFile::write(m_state.settingsPath(), s));
}
