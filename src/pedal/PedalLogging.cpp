#include "pedal/PedalLogging.h"

Q_LOGGING_CATEGORY(lcPedal, "vocarta.pedal", QtInfoMsg)
