#include "core/MenuEntries.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

QMenu* addNamedMenu(QMenuBar* bar, const char* name, const char* title)
{
    QMenu* menu = bar->addMenu(QString::fromUtf8(title));
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction* addNamedEntry(QMenu* menu, const char* name, const char* caption, const QKeySequence& key)
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QLatin1String(name));
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    return action;
}
