#pragma once

#include "FakeMediaPlayer.h"
#include "FakePlayer.h"
#include "RecordingDialogs.h"
#include "TestFolder.h"
#include "core/AppState.h"
#include "editor/DocumentCommands.h"
#include "editor/EditorWindow.h"
#include "editor/RichTextBox.h"
#include "editor/UndoController.h"
#include "platform/Platform.h"

#include <QFile>
#include <QMenu>
#include <memory>

// What the editor's parts work with: a program folder of their own, the player, the engine and
// the user's answers stood in for.
struct EditorParts {
    TestFolder folder;
    AppState state;
    RecordingDialogs dialogs;
    FakeMediaPlayer media;
    FakePlayer player{&media};

    explicit EditorParts(const QString& languageFile = QStringLiteral("English.lng"))
    {
        state.programFolder = folder.path();
        state.languageFile = languageFile;
        folder.writeLanguage(languageFile, QStringLiteral("en"));
        state.texts.load(state.languagePath());
    }

    // The recording open at the position.
    void openMedia(double position)
    {
        media.loadedDuration = 7200;
        folder.writeBytes(QStringLiteral("media/talk.wav"), "RIFF");
        media.setUrl(folder.filePath(QStringLiteral("media/talk.wav")));
        media.setCurrentPosition(position);
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

// The editor's document commands on a text area of their own, in a plain window that shows their
// caption and holds the recent entries' menu.
struct DocumentFixture : EditorParts {
    QWidget window;
    RichTextBox* box = new RichTextBox(&window);
    UndoController undo{box};
    DocumentCommands files{
        state, dialogs, &player, {.text = box, .undo = &undo, .window = &window}};

    DocumentFixture()
    {
        QObject::connect(&files, &DocumentCommands::captionChanged, &window,
                         &QWidget::setWindowTitle);
        files.addRecentEntries(new QMenu(&window));
        files.retranslate();
    }

    RichTextBox* text() const { return box; }
    void type(const QString& words) const
    {
        box->moveCursor(QTextCursor::End);
        box->insertPlainText(words);
    }
};

// An editor window on the parts.
struct EditorFixture : EditorParts {
    std::unique_ptr<EditorWindow> editor;

    explicit EditorFixture(const QString& languageFile = QStringLiteral("English.lng"))
        : EditorParts(languageFile)
    {
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
};
