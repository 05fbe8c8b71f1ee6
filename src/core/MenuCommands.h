#pragma once

#include "core/CommandRow.h"

#include <QString>
#include <functional>
#include <vector>

class InterfaceTexts;
class QActionGroup;
class QMenuBar;

// A window's menus built from its command table, kept in step with it: the captions in the
// current language, the dynamic captions, the enabled groups and the player commands. Shortcuts
// act only in their own window: the editor passes the player's keys on through its own table.
class MenuCommands {
public:
    // Builds the rows into the bar, their captions from `texts`, which must outlive this object.
    template <typename Window>
    void build(QMenuBar* bar, Window& window, const std::vector<CommandRow<Window>>& rows,
               const InterfaceTexts& texts);

    // Every caption from the text table again, after a language switch.
    void retranslate();
    // The captions that follow the window's state, shown again after it changed.
    void showStates();
    void setGroupEnabled(CommandGroup group, bool enabled);
    // Runs the entry answering the player command as a click would (nothing while it is
    // disabled, unless it is a transport command); false when no entry answers it.
    bool run(PlayerCommand command) const;
    // The entry of that object name, or nullptr.
    QAction* action(const char* name) const;

    // The caption of the text as a row with these flags shows it.
    static QString caption(const InterfaceTexts& texts, Text text, CommandFlags flags);

private:
    struct Entry {
        QAction* action = nullptr;
        Text caption = Text::ProgramName;
        std::optional<Text> otherCaption = std::nullopt;
        CommandFlags flags = {};
        CommandGroup group = CommandGroup::Always;
        std::optional<PlayerCommand> answers = std::nullopt;
        std::function<void()> run = nullptr;
        std::function<bool()> showsOther = nullptr;
    };

    QMenu* addMenu(QMenuBar* bar, QMenu* parent, const char* name, Text caption,
                   const char* fixedCaption, CommandFlags flags);
    QAction* addSeparator(QMenu* menu, const char* name, CommandFlags flags);
    QAction* addCommand(QMenu* menu, Entry entry, const char* name, const QKeySequence& key);
    void showCaption(const Entry& entry) const;

    const InterfaceTexts* m_texts = nullptr;
    std::vector<Entry> m_entries;
    // The exclusive rows being added one after another share it.
    QActionGroup* m_exclusiveGroup = nullptr;
};

template <typename Window>
void MenuCommands::build(QMenuBar* bar, Window& window, const std::vector<CommandRow<Window>>& rows,
                         const InterfaceTexts& texts)
{
    using Kind = typename CommandRow<Window>::Kind;
    m_texts = &texts;
    QMenu* menu = nullptr;
    QMenu* outer = nullptr;
    for (const CommandRow<Window>& row : rows) {
        if (row.kind != Kind::Command || !(row.flags & CommandFlag::Exclusive))
            m_exclusiveGroup = nullptr;
        switch (row.kind) {
        case Kind::Menu:
        case Kind::Submenu:
            outer = row.kind == Kind::Menu ? nullptr : menu;
            menu = addMenu(outer ? nullptr : bar, outer, row.name, row.caption, row.fixedCaption,
                           row.flags);
            if (row.menu)
                window.*row.menu = menu;
            break;
        case Kind::EndSubmenu:
            menu = outer;
            outer = nullptr;
            break;
        case Kind::Separator:
            if (QAction* separator = addSeparator(menu, row.name, row.flags); row.action)
                window.*row.action = separator;
            break;
        case Kind::Entries:
            row.fill(window, menu);
            break;
        case Kind::Command: {
            Entry entry{.caption = row.caption,
                        .otherCaption = row.otherCaption,
                        .flags = row.flags,
                        .group = row.group,
                        .answers = row.answers};
            if (row.run)
                entry.run = [&window, run = row.run] { run(window); };
            if (row.showsOther)
                entry.showsOther = [&window, shows = row.showsOther] { return shows(window); };
            QAction* action = addCommand(menu, std::move(entry), row.name, row.key);
            if (row.action)
                window.*row.action = action;
            break;
        }
        }
    }
    m_exclusiveGroup = nullptr;
}
