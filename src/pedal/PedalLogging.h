#pragma once

#include <QLoggingCategory>

// Foot pedals found, opened and lost.
Q_DECLARE_LOGGING_CATEGORY(lcPedal)
