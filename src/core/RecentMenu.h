#pragma once

#include "core/RecentList.h"

#include <QAction>
#include <array>

class QFont;

// Shows a recent list in its menu entries: the used places, each path shortened in its middle
// so the menu keeps a sensible width while the folder's start and the file's name stay readable,
// the whole path in its tooltip; the free places hidden.
void showRecentList(const RecentList& list, const std::array<QAction*, RecentList::kSize>& entries,
                    const QFont& menuFont);
