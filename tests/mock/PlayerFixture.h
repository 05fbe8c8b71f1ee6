#pragma once

#include "FakeMediaPlayer.h"
#include "JournalCompanions.h"
#include "RecordingDesktop.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "core/AppState.h"
#include "core/SettingsFile.h"
#include "player/PlayerWindow.h"

#include <functional>
#include <memory>

// A loaded player window with stand-ins for everything around it; what happens to it is
// written to `journal`.
struct PlayerFixture {
    TestFolder folder;
    AppState state;
    RecordingDialogs dialogs;
    RecordingDesktop desktop;
    FakeMediaPlayer media;
    QStringList journal;
    JournalEditor editor{journal};
    JournalBookmarks bookmarks{journal};
    std::unique_ptr<PlayerWindow> player;

    // What the settings file holds unless a test says otherwise.
    static StoredSettings defaultSettings();

    // `beforeStart` prepares the stand-ins before the window is built.
    explicit PlayerFixture(const StoredSettings& settings = defaultSettings(),
                           const QString& commandLine = QString(),
                           const std::function<void(PlayerFixture&)>& beforeStart = {});

    // A file in the program folder that the fake engine can open.
    QString mediaFile(const QString& name) const;
    // Opens a new media file through the open command.
    QString open(const QString& name);
    // Sets one of the transport's options, the others as they are.
    void setOption(int TransportOptions::*option, int value);
    int option(int TransportOptions::*option) const
    {
        return player->playback()->options().*option;
    }
    // Runs what the player left to its event loop, such as writing the recent list.
    static void settle();
};
