#include "startup/ThreadLocale.h"

ThreadLocale::ThreadLocale()
{
    // An environment naming a locale that is not installed leaves the C one, as setlocale() does.
    locale_t base = newlocale(LC_ALL_MASK, "", locale_t(nullptr));
    if (!base)
        base = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    m_locale = base ? newlocale(LC_NUMERIC_MASK, "C", base) : locale_t(nullptr);
    if (!m_locale && base)
        freelocale(base);
}

ThreadLocale::~ThreadLocale()
{
    if (m_locale)
        freelocale(m_locale);
}

void ThreadLocale::use() const
{
    if (m_locale)
        uselocale(m_locale);
}
