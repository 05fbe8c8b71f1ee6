#include "PlayerFixture.h"

#include "core/ProgramFolder.h"
#include "platform/Platform.h"

#include <QCoreApplication>

StoredSettings PlayerFixture::defaultSettings()
{
    StoredSettings s;
    s.languageFile = QStringLiteral("English.lng");
    s.volume = 50;
    s.knobTop = 795;
    s.jumpSeconds = 6;
    s.backSeconds = 3;
    s.showFullPath = false;
    s.editorFolder = QStringLiteral("/home/ada");
    s.editorVisible = true;
    s.playerLeft = 1500;
    s.playerTop = 300;
    s.editorLeft = 1200;
    s.editorTop = 3000;
    s.editorWidth = 9000;
    s.editorHeight = 4500;
    s.alwaysOnTop = true;
    s.bookmarksVisible = false;
    s.playTime = 9;
    s.pauseTime = 4;
    s.smartPlay = false;
    return s;
}

PlayerFixture::PlayerFixture(const StoredSettings& settings, const QString& commandLine,
                             const std::function<void(PlayerFixture&)>& beforeStart)
{
    // The bundled skin, so that the pictures buttons show can be checked.
    folder.fillWithBundledData();
    state.programFolder = folder.path();
    state.languageFile = QStringLiteral("English.lng");
    if (!SettingsFile::write(state.settingsPath(), settings))
        qFatal("The settings file could not be written");
    folder.writeLanguage(QStringLiteral("English.lng"), QStringLiteral("en"));
    state.texts.load(state.languagePath());
    media.journal = &journal;
    if (beforeStart)
        beforeStart(*this);
    player = std::make_unique<PlayerWindow>(state, Platform{&media, &dialogs, &desktop});
    player->setEditor(&editor);
    player->setBookmarks(&bookmarks);
    QObject::connect(player->sessionKeeper(), &SessionKeeper::settingsSaved, [this](bool ok) {
        journal << (ok ? QStringLiteral("settings saved") : QStringLiteral("settings failed"));
    });
    QObject::connect(player->sessionKeeper(), &SessionKeeper::programEnded,
                     [this] { journal << QStringLiteral("program ended"); });
    player->restoreSession(commandLine);
    player->show();
}

QString PlayerFixture::mediaFile(const QString& name) const
{
    const QString path = folder.filePath(QStringLiteral("media/") + name);
    if (!QFileInfo::exists(path))
        folder.writeBytes(QStringLiteral("media/") + name, "RIFF");
    return path;
}

QString PlayerFixture::open(const QString& name)
{
    const QString path = mediaFile(name);
    player->control()->openMedia(path);
    settle();
    return path;
}

void PlayerFixture::settle()
{
    QCoreApplication::processEvents();
}

void PlayerFixture::setOption(int TransportOptions::*option, int value)
{
    TransportOptions options = player->playback()->options();
    options.*option = value;
    player->playback()->setOptions(options);
}
