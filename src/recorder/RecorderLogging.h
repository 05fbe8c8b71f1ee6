#pragma once

#include <QLoggingCategory>

// Failures of the recorder that the user is not told of in a box.
Q_DECLARE_LOGGING_CATEGORY(lcRecorder)
