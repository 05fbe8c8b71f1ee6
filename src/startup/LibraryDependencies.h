#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// A library with many dependencies loaded in one go holds the dynamic loader's lock until all of
// them are in, and a library another thread loads meanwhile (a Qt plugin on the GUI thread) waits
// for the lot. Loaded one by one, each after the ones it needs, such a load gets through between
// two of them.
namespace LibraryDependencies {

// The libraries the ELF library at `path` needs, directly or not, each after the ones it needs:
// names to give the dynamic loader (the soname, or the path when only the needing library's own
// search path finds it). A library this process has loaded already, or one not found on disk, is
// left out with what it needs.
QStringList loadOrder(const QString& path);

// Loads the libraries in turn, calling `between` after each; another thread waiting for the
// dynamic loader gets it there. One that does not load on its own is left to the load of the
// library that needs it. They stay loaded.
void loadEach(const QStringList& names, const std::function<void()>& between = {});

} // namespace LibraryDependencies
