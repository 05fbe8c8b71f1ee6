#pragma once

#include <functional>
#include <thread>

// Work that a later step would otherwise wait for, done on a thread of its own while the first
// window is built; waited for when the object goes.
class WarmUpThread {
public:
    explicit WarmUpThread(std::function<void()> work) : m_worker(std::move(work)) {}
    ~WarmUpThread() { m_worker.join(); }
    WarmUpThread(const WarmUpThread&) = delete;
    WarmUpThread& operator=(const WarmUpThread&) = delete;

private:
    std::thread m_worker;
};
