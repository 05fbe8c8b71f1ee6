#pragma once

#include "startup/WarmUpThread.h"

// Connects to the desktop's session bus on a thread of its own while the first window is built.
// Qt's accessibility support asks for that connection when the window's first text is set and
// waits for it (where no bus runs yet, one is started then); the media controls use the same
// connection later. Made after the application object, ended before it.
class SessionBusWarmUp : public WarmUpThread {
public:
    SessionBusWarmUp();
};
