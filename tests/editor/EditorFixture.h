#pragma once

#include "FakeMediaPlayer.h"
#include "FakePlayer.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "core/AppState.h"
#include "editor/EditorWindow.h"
#include "editor/RichTextBox.h"
#include "platform/Platform.h"

#include <QFile>
#include <memory>

// An editor window on a program folder of its own, with the player, the engine and the user's
// answers stood in for.
struct EditorFixture {
    TestFolder folder;
    AppState state;
    RecordingDialogs dialogs;
    FakeMediaPlayer media;
    FakePlayer player{&media};
    std::unique_ptr<EditorWindow> editor;

    explicit EditorFixture(const QString& languageFile = QStringLiteral("English.lng"))
    {
        state.programFolder = folder.path();
        state.languageFile = languageFile;
        state.productTitle = QStringLiteral("Vocarta");
        folder.writeLanguage(languageFile, QStringLiteral("en"));
        state.texts.load(state.languagePath());
        editor =
            std::make_unique<EditorWindow>(state, Platform{&media, &dialogs, nullptr}, &player);
    }

    RichTextBox* text() const { return editor->findChild<RichTextBox*>(QStringLiteral("textBox")); }

    // Types into the document as the user would, which marks it modified.
    void type(const QString& words) const
    {
        text()->moveCursor(QTextCursor::End);
        text()->insertPlainText(words);
    }

    QString path(const QString& name) const
    {
        return folder.filePath(QStringLiteral("docs/") + name);
    }

    // A document file in the folder, with the given bytes.
    QString document(const QString& name, const QByteArray& bytes) const
    {
        folder.writeBytes(QStringLiteral("docs/") + name, bytes);
        return path(name);
    }

    QString entry(Text text) const { return state.texts.plain(text); }
};
