#include "app/ExportCommand.h"
#include "app/Startup.h"
#include "remote/CommandLineOptions.h"
#include "startup/FontConfigWarmUp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // --help and --command end before any window system is reached; --export uses none.
    if (const auto status = CommandLineOptions::run(argc, argv))
        return *status;
    if (const auto status = ExportCommand::run(argc, argv))
        return *status;
    const FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    return Startup::run(app);
}
