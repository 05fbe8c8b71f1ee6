#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>

// The other end of the running program's socket, for a process that hands it one request and
// ends: it waits, for a bounded time, without an event loop or a QCoreApplication.
namespace InstanceClient {

enum class Outcome {
    Accepted,
    Refused,      // the program does not know the request
    NoInstance,   // no program runs
    NotListening, // a program runs but its socket never opened
    NoAnswer,     // it runs but did not answer in time; the request may still be carried out
};

struct Waits {
    // For the socket of a program that is still starting.
    std::chrono::milliseconds starting{5000};
    // For the request to be written and its answer to come.
    std::chrono::milliseconds answer{5000};
};

// Sends one request line. While the program that holds the single-instance lock at `lockPath` is
// still starting (its socket is not there yet), it is tried again for a while.
Outcome send(const QString& socketPath, const QString& lockPath, const QByteArray& request,
             const Waits& waits = {});

} // namespace InstanceClient
