#include "recorder/RecorderLog.h"

Q_LOGGING_CATEGORY(lcRecorder, "vocarta.recorder")
