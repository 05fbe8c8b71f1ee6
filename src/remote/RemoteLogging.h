#pragma once

#include <QLoggingCategory>

// The socket of the running program, the desktop's media controls, the commands they run.
Q_DECLARE_LOGGING_CATEGORY(lcRemote)
