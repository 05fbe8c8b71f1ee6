#pragma once

#include <QFunctionPointer>
#include <QString>
#include <QStringList>

class QLibrary;

// A run-time module of the program (the media engine, the sound capture): found in a list of
// folders, loaded for good, entered through one exported factory.
namespace ModuleFile {

// The path of `fileName` in the first of `folders` that holds it; "" when none does.
QString find(const QStringList& folders, const QString& fileName);

// Why find() came back empty, naming the file and the folders.
QString notFoundReason(const QStringList& folders, const QString& fileName);

// Loads the module at `path` into `library`, never to be unloaded, and returns its export
// `factoryName`; null with the reason in `error` when it does not load or lacks the export.
QFunctionPointer loadFactory(QLibrary& library, const QString& path, const char* factoryName,
                             QString* error);

} // namespace ModuleFile
