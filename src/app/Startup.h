#pragma once

class QApplication;

namespace Startup {

// Chooses the program folder, builds the real platform and runs the program to its end.
int run(QApplication& app);

} // namespace Startup
