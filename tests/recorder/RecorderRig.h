#pragma once

#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "ToneCaptureDevice.h"
#include "core/AppState.h"
#include "platform/Platform.h"
#include "recorder/RecorderWindow.h"

#include <QCoreApplication>

// What a recorder window needs: a program folder with a language file whose entry n reads
// "en n", dialogs that answer for the user and a tone device.
struct RecorderRig {
    TestFolder folder;
    AppState state;
    RecordingDialogs dialogs;
    ToneCaptureDevice device;
    Platform platform;

    RecorderRig()
    {
        state.programFolder = folder.path();
        state.languageFile = QStringLiteral("English.lng");
        folder.writeLanguage(state.languageFile, QStringLiteral("en"));
        state.texts.load(state.languagePath());
        platform.dialogs = &dialogs;
        platform.capture = &device;
    }

    QString entry(Text id) const { return state.texts.text(id); }

    // Starts a take in the file the window offers, as the user accepting it would; its path.
    QString startTake(RecorderWindow& window)
    {
        const QString path = window.fileName();
        dialogs.chosenFiles << path;
        window.pressStart();
        QCoreApplication::processEvents();
        return path;
    }
};
