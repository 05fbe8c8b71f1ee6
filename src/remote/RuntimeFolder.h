#pragma once

#include <QString>

// Where the running program keeps its single-instance lock and its socket: the user's runtime
// folder, which only the user can enter.
namespace RuntimeFolder {

QString path();
QString socketPath(const QString& folder = path());

} // namespace RuntimeFolder
