#include "recorder/RecorderLogging.h"

Q_LOGGING_CATEGORY(lcRecorder, "vocarta.recorder")
