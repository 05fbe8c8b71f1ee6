#pragma once

#include <QStringList>
#include <optional>

// The options of the program's command line that end it at once: --help, and --command NAME,
// which hands a command to the running program. Everything else starts the program.
namespace CommandLineOptions {

// The program's exit status when the arguments (the program's name first) hold such an option;
// nothing when the program is to start. Prints to standard output and standard error.
std::optional<int> run(const QStringList& arguments);

// Parses and runs them with the least start-up, before any window system is reached.
std::optional<int> run(int argc, char* argv[]);

QString helpText();

} // namespace CommandLineOptions
