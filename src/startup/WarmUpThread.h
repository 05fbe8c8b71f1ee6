#pragma once

#include "startup/ThreadLocale.h"

#include <functional>
#include <thread>

// Work that a later step would otherwise wait for, done on a thread of its own while the first
// window is built; waited for when the object goes. The thread may start before the application
// object: it reads a locale of its own.
class WarmUpThread {
public:
    explicit WarmUpThread(std::function<void()> work)
        : m_worker([this, work = std::move(work)] {
              m_locale.use();
              work();
          })
    {
    }
    ~WarmUpThread() { m_worker.join(); }
    WarmUpThread(const WarmUpThread&) = delete;
    WarmUpThread& operator=(const WarmUpThread&) = delete;

private:
    const ThreadLocale m_locale;
    std::thread m_worker;
};
