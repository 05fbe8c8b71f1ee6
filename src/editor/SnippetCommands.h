#pragma once

#include "editor/Snippets.h"

#include <QObject>
#include <QPointer>
#include <array>

class Dialogs;
class MenuCommands;
class QAction;
class RichTextBox;
class SnippetDialog;
class TimestampCommands;
struct AppState;

// The snippets (speaker labels) of Ctrl+1 ... Ctrl+9: writing one at the caret, their entries in
// the menu, the dialog that edits them and their file.
class SnippetCommands : public QObject {
    Q_OBJECT
public:
    // The object names of the menu entries, by slot; their captions are the snippets.
    static constexpr std::array<const char*, Snippets::kCount> kActionNames = {
        "snippetAction1", "snippetAction2", "snippetAction3", "snippetAction4", "snippetAction5",
        "snippetAction6", "snippetAction7", "snippetAction8", "snippetAction9"};

    // Reads the snippets from their file, if the user ever kept them. The menu entries, when
    // given, show them.
    SnippetCommands(AppState& state, Dialogs& dialogs, RichTextBox* text,
                    TimestampCommands& timestamps, const MenuCommands* menus = nullptr);

    const Snippets& snippets() const { return m_snippets; }
    // Until the user changes them, the snippets are the interface language's defaults.
    void retranslate();
    // The snippet of the slot (0 to 8) at the caret, after a new paragraph and the timestamp when
    // it asks for them, as one change; nothing for an empty slot.
    void insert(int slot);
    // Opens the dialog of the nine snippets, over the editor; its OK keeps them.
    void edit();
    // Keeps the snippets in their file at once.
    void set(const Snippets& snippets);

private:
    void showEntries();

    AppState& m_state;
    Dialogs& m_dialogs;
    RichTextBox* m_text;
    TimestampCommands& m_timestamps;
    Snippets m_snippets;
    // Read from their file or set by the user: no longer the language's defaults.
    bool m_stored = false;
    std::array<QAction*, Snippets::kCount> m_actions{};
    QPointer<SnippetDialog> m_dialog;
};
