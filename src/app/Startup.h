#pragma once

#include <QLocale>
#include <QString>
#include <functional>
#include <memory>

class BookmarkController;
class EditorWindow;
class HelpController;
class FootPedals;
class PlayerWindow;
class QApplication;
class Recorder;
class TerminationWatcher;
class VideoCompanion;
class WaveformWindow;
struct AppState;
struct Platform;

namespace Startup {

// Title and first line of the box that ends a start that cannot go on.
inline constexpr char kFatalTitle[] = "Reg Error";
inline constexpr char kFatalText[] = "Lib OCX -> Reg ERROR!";

// The windows of one run, wired to each other. The editor and the bookmarks go first when it ends:
// they call on the player.
struct Session {
    Session();
    ~Session();
    Session(Session&&) noexcept;
    Session& operator=(Session&&) noexcept;

    // Outlives the player, which holds on to it.
    std::unique_ptr<Recorder> recorder;
    // Outlives the player and the windows whose marks it shows: nothing of it runs as they go.
    std::unique_ptr<WaveformWindow> waveform;
    std::unique_ptr<PlayerWindow> player;
    // Its window, once made, holds the engine's renderer: it goes before the engine and the
    // player whose state it follows.
    std::unique_ptr<VideoCompanion> video;
    std::unique_ptr<BookmarkController> bookmarks;
    std::unique_ptr<EditorWindow> editor;
    std::unique_ptr<HelpController> help;
    // Goes first: its pedals run the commands of all the others.
    std::unique_ptr<FootPedals> pedals;
};

// Gives a media path to the instance that already runs; true once it has taken it.
using HandOver = std::function<bool(const QString& mediaPath)>;

// The start procedure, for the program folder in `state`: reads the language, ends a second
// instance, then builds the windows, wires them, and shows the player with the settings and
// the media path of the command line ("" for none) applied. Returns no player when the program
// must end (after its message box). A second instance with a media path hands it over to the
// first and ends without a message.
Session start(AppState& state, const Platform& platform, const QString& commandLine,
              const QLocale& locale = QLocale::system(), const HandOver& handOver = {});

// A signal from the system or the desktop session's request to save ends the run without a
// question, after the closing sequence's saves.
void endQuietlyOnRequest(const Session& session, TerminationWatcher& watcher);

// Runs the event loop of a started session until the program ends, by the user or by a signal.
int exec(QApplication& app, const Session& session);

// The command line's media path: the arguments after the program's name, joined; trimmed unless
// the joined path exists as it is.
QString commandLinePath(const QStringList& arguments);

// Chooses the program folder, builds the real platform and runs the program to its end.
int run(QApplication& app);

} // namespace Startup
