#pragma once

#include "FakeMediaPlayer.h"
#include "RecordingDesktop.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "app/Startup.h"
#include "core/AppState.h"
#include "core/ProgramFolder.h"
#include "platform/Platform.h"

#include <QStringList>

// One run of the whole program in a test folder filled from the bundled data, with doubles for
// the dialogs, the desktop and the media engine.
struct StartedRun {
    TestFolder folder;
    AppState state;
    RecordingDialogs dialogs;
    RecordingDesktop desktop;
    FakeMediaPlayer media;
    Startup::Session session;

    StartedRun()
    {
        folder.fillWithBundledData();
    }

    // Starts the program as it starts, on a settings file of these lines.
    void start(const QStringList& settings)
    {
        folder.write(QStringLiteral("Files/Vocarta.ini"), settings);
        state.programFolder = folder.path();
        session = Startup::start(state, Platform{&media, &dialogs, &desktop}, QString());
        if (!session.player)
            qFatal("the program did not start");
    }
};
