#include "core/MenuCommands.h"

#include "core/InterfaceTexts.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

QString MenuCommands::caption(const InterfaceTexts& texts, Text text, CommandFlags flags)
{
    QString caption = texts.text(text);
    if (flags & CommandFlag::Accelerated)
        caption.prepend(QLatin1Char('&'));
    if (flags & CommandFlag::Ellipsis)
        caption += QStringLiteral("...");
    return caption;
}

QMenu* MenuCommands::addMenu(QMenuBar* bar, QMenu* parent, const char* name, Text caption,
                             const char* fixedCaption, CommandFlags flags)
{
    QMenu* menu = bar ? bar->addMenu(QString()) : parent->addMenu(QString());
    menu->setObjectName(QLatin1String(name));
    QAction* action = menu->menuAction();
    if (flags & CommandFlag::Hidden)
        action->setVisible(false);
    if (fixedCaption)
        action->setText(QString::fromUtf8(fixedCaption));
    else
        addCommand(nullptr, Entry{.action = action, .caption = caption, .flags = flags}, nullptr,
                   {});
    return menu;
}

QAction* MenuCommands::addSeparator(QMenu* menu, const char* name, CommandFlags flags)
{
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QLatin1String(name));
    if (flags & CommandFlag::Hidden)
        separator->setVisible(false);
    return separator;
}

QAction* MenuCommands::addCommand(QMenu* menu, Entry entry, const char* name,
                                  const QKeySequence& key)
{
    if (!entry.action) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QLatin1String(name));
        if (!key.isEmpty()) {
            action->setShortcut(key);
            action->setShortcutContext(Qt::WindowShortcut);
        }
        if (entry.flags & CommandFlag::Hidden)
            action->setVisible(false);
        const bool checkable = entry.flags & (CommandFlag::Checkable | CommandFlag::Exclusive);
        action->setCheckable(checkable);
        if (entry.flags & CommandFlag::Exclusive) {
            if (!m_exclusiveGroup)
                m_exclusiveGroup = new QActionGroup(menu);
            m_exclusiveGroup->addAction(action);
        }
        if (entry.run) {
            // A click has already moved the check mark: it goes back, for the handler to set.
            QObject::connect(action, &QAction::triggered, action,
                             [action, checkable, run = entry.run] {
                                 if (checkable)
                                     action->setChecked(!action->isChecked());
                                 run();
                             });
        }
        entry.action = action;
    }
    m_entries.push_back(std::move(entry));
    showCaption(m_entries.back());
    return m_entries.back().action;
}

void MenuCommands::showCaption(const Entry& entry) const
{
    if (entry.flags & CommandFlag::OwnCaption)
        return;
    const bool other = entry.otherCaption && entry.showsOther && entry.showsOther();
    const Text text = other ? *entry.otherCaption : entry.caption;
    entry.action->setText(caption(*m_texts, text, entry.flags));
}

void MenuCommands::retranslate()
{
    for (const Entry& entry : m_entries)
        showCaption(entry);
}

void MenuCommands::showStates()
{
    for (const Entry& entry : m_entries) {
        if (entry.showsOther)
            showCaption(entry);
    }
}

void MenuCommands::setGroupEnabled(CommandGroup group, bool enabled)
{
    for (const Entry& entry : m_entries) {
        if (entry.group == group)
            entry.action->setEnabled(enabled);
    }
}

bool MenuCommands::run(PlayerCommand command) const
{
    for (const Entry& entry : m_entries) {
        if (entry.answers != command)
            continue;
        if (entry.flags & CommandFlag::Transport)
            entry.run();
        else
            entry.action->trigger();
        return true;
    }
    return false;
}

QAction* MenuCommands::action(const char* name) const
{
    for (const Entry& entry : m_entries) {
        if (entry.action->objectName() == QLatin1String(name))
            return entry.action;
    }
    return nullptr;
}
