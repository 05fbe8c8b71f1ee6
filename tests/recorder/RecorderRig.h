#pragma once

#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "ToneCaptureDevice.h"
#include "core/AppState.h"
#include "platform/Platform.h"

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
};
