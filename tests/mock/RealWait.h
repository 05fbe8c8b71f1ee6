#pragma once

// How long a test waits for a real process, engine, socket, thread or window before it fails.
// A passing test never waits this long; CI's busy 2-core machine can need far more than Qt's
// default 5 seconds.
constexpr int kRealWaitMs = 60000;
