#pragma once

#include <QByteArray>
#include <QString>

// The other end of the running program's socket, for a process that hands it one request and
// ends: it waits, for a bounded time, without an event loop.
namespace InstanceClient {

enum class Outcome {
    Accepted,
    Refused,      // the program does not know the request
    NoInstance,   // no program runs
    NotListening, // a program runs but its socket never opened
    NoAnswer,     // it runs but did not answer in time; the request may still be carried out
};

// Sends one request line. While the program that holds the single-instance lock at `lockPath` is
// still starting (its socket is not there yet), it is tried again for a few seconds.
Outcome send(const QString& socketPath, const QString& lockPath, const QByteArray& request);

} // namespace InstanceClient
