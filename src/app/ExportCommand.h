#pragma once

#include <QStringList>
#include <optional>

// vocarta --export IN OUT [--no-timestamps]: writes the transcript IN (any file the editor opens)
// in the format OUT's extension names, with no window and no display server, for scripts. Prints
// one line per problem on standard error; ends with 0 once OUT is written, otherwise non-zero.
namespace ExportCommand {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

// The exit status when the arguments (the program's name first) ask for an export; nothing
// otherwise. Needs a QGuiApplication.
std::optional<int> run(const QStringList& arguments);

// Builds the application it needs on the offscreen platform, unless the environment names one.
std::optional<int> run(int argc, char* argv[]);

} // namespace ExportCommand
