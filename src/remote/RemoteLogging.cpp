#include "remote/RemoteLogging.h"

Q_LOGGING_CATEGORY(lcRemote, "vocarta.remote", QtInfoMsg)
