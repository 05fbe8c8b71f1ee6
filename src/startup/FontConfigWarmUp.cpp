#include "startup/FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>

FontConfigWarmUp::FontConfigWarmUp() : WarmUpThread([] { FcInit(); }) {}
