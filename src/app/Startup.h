#pragma once

#include <QLocale>
#include <QString>
#include <functional>
#include <memory>

class PlayerWindow;
class QApplication;
struct AppState;
struct Platform;

namespace Startup {

// Title and first line of the box that ends a start that cannot go on.
inline constexpr char kFatalTitle[] = "Reg Error";
inline constexpr char kFatalText[] = "Lib OCX -> Reg ERROR!";

// The start procedure, for the program folder in `state`: reads the language, ends a second
// instance, then builds and shows the player window. Returns nullptr when the program must end
// (after its message box).
// `wire` connects the other windows to the player before it loads.
std::unique_ptr<PlayerWindow> Main(
    AppState& state, const Platform& platform, const QString& commandLine,
    const QLocale& locale = QLocale::system(),
    const std::function<void(PlayerWindow&)>& wire = [](PlayerWindow&) {});

// The command line's media path: the arguments after the program's name, joined and trimmed.
QString commandLinePath(const QStringList& arguments);

// Chooses the program folder, builds the real platform and runs the program to its end.
int run(QApplication& app);

} // namespace Startup
