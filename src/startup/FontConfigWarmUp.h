#pragma once

#include "startup/WarmUpThread.h"

// Reads the system's font configuration on a thread of its own, from the first moment of the
// program. It is the costliest step before the first window can be laid out, fontconfig's
// loading is safe to race (it keeps the first configuration built), and the display connection
// that the program sets up meanwhile mostly waits on the display server.
class FontConfigWarmUp : public WarmUpThread {
public:
    FontConfigWarmUp();
};
