#include "player/SessionKeeper.h"

#include "core/AppState.h"
#include "core/BookmarkCommands.h"
#include "core/EditorCommands.h"
#include "core/Logging.h"
#include "core/RecorderCommands.h"
#include "platform/MediaPlayer.h"
#include "player/PlayerPeers.h"

#include <QWidget>

SessionKeeper::SessionKeeper(AppState& state, const Platform& platform, const PlayerPeers& peers,
                             QWidget* owner)
    : QObject(owner), m_state(state), m_platform(platform), m_peers(peers), m_owner(owner)
{
}

const StoredSettings& SessionKeeper::read()
{
    QString error;
    if (const auto stored = SettingsFile::read(m_state.settingsPath(), &error))
        m_stored = *stored;
    else
        qCWarning(lcSettings).noquote() << error;
    return m_stored;
}

bool SessionKeeper::save()
{
    StoredSettings s = m_stored;
    s.languageFile = m_state.languageFile;
    s.editorFolder = m_state.editorFolder;
    if (m_collect)
        m_collect(s);
    QString error;
    const bool saved = SettingsFile::write(m_state.settingsPath(), s, &error);
    if (!saved) {
        qCWarning(lcSettings).noquote() << "Settings not saved:" << error;
        m_state.saveFailures.tell(*m_platform.dialogs, m_owner, m_state.texts,
                                  m_state.settingsPath(), error);
    }
    Q_EMIT settingsSaved(saved);
    return saved;
}

bool SessionKeeper::runClosingSequence()
{
    if (m_closing || m_closed)
        return m_closed;
    m_closing = true;

    if (m_peers.bookmarks)
        m_peers.bookmarks->saveBookmarks();

    if (m_peers.editor) {
        switch (m_peers.editor->askToSaveBeforeExit()) {
        case EditorCommands::ExitAnswer::Proceed:
            break;
        case EditorCommands::ExitAnswer::Cancel:
            m_closing = false;
            return false;
        case EditorCommands::ExitAnswer::SaveFailed:
            save();
            Q_EMIT closingRefused();
            m_closing = false;
            return false;
        }
    }

    finishClosing();
    return true;
}

void SessionKeeper::endWithoutAsking()
{
    if (m_closed)
        return;
    // Nobody is there to answer: what cannot be saved is logged, not asked about.
    m_state.saveFailures.setQuiet(true);
    m_closing = true;
    if (m_peers.bookmarks)
        m_peers.bookmarks->saveBookmarks();
    finishClosing();
}

void SessionKeeper::finishClosing()
{
    // A recording's file is finished before anything else can go wrong.
    if (m_peers.recorder)
        m_peers.recorder->closeAtExit();
    Q_EMIT closingStarted();
    save();
    if (m_peers.bookmarks)
        m_peers.bookmarks->closeAtExit();
    if (m_peers.editor)
        m_peers.editor->hideFindDialog();
    if (m_platform.media)
        m_platform.media->stop();
    if (m_peers.editor)
        m_peers.editor->unload();

    m_closing = false;
    m_closed = true;
    Q_EMIT programEnded();
}
