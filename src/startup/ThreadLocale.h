#pragma once

#include <locale.h>

// The locale the program runs under, the environment's with C numbers, for a thread started
// before the application object sets the process's locale: setlocale() while another thread reads
// the locale is a race, and a thread's own locale is out of its reach. Built on the thread that
// starts the other, and kept until that one has ended.
class ThreadLocale {
public:
    ThreadLocale();
    ~ThreadLocale();
    ThreadLocale(const ThreadLocale&) = delete;
    ThreadLocale& operator=(const ThreadLocale&) = delete;

    // Makes it the calling thread's locale, for the rest of that thread.
    void use() const;

private:
    locale_t m_locale;
};
