#pragma once

#include <QKeySequence>

class QAction;
class QMenu;
class QMenuBar;

// A window's menus and entries, named for tests and built with the Italian captions the language
// file replaces. Shortcuts act only in their own window: the editor passes the player's keys on
// through its own table.
QMenu* addNamedMenu(QMenuBar* bar, const char* name, const char* title);
QAction* addNamedEntry(QMenu* menu, const char* name, const char* caption,
                       const QKeySequence& key = {});
