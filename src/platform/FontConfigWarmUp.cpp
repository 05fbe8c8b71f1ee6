#include "platform/FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>

FontConfigWarmUp::FontConfigWarmUp() : m_worker([] { FcInit(); }) {}

FontConfigWarmUp::~FontConfigWarmUp()
{
    m_worker.join();
}
