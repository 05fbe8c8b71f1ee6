#pragma once

#include "core/RecentList.h"

#include <QAction>
#include <array>

class QFont;
class QMenu;

// The four hidden entries of a recent list at the menu's end, named recentAction1..4, their
// captions the placeholders the list stores for a free place.
std::array<QAction*, RecentList::kSize> addRecentEntries(QMenu* menu);

// Shows a recent list in its menu entries: the used places, each path shortened in its middle
// so the menu keeps a sensible width while the folder's start and the file's name stay readable,
// the whole path in its tooltip; the free places hidden.
void showRecentList(const RecentList& list, const std::array<QAction*, RecentList::kSize>& entries,
                    const QFont& menuFont);
