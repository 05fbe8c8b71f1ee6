#include "core/Logging.h"

Q_LOGGING_CATEGORY(lcSettings, "vocarta.settings")
Q_LOGGING_CATEGORY(lcLanguage, "vocarta.language")
Q_LOGGING_CATEGORY(lcPlayer, "vocarta.player")
Q_LOGGING_CATEGORY(lcBookmarks, "vocarta.bookmarks")
Q_LOGGING_CATEGORY(lcEditor, "vocarta.editor")
