#pragma once

#include <QLoggingCategory>

// Where failures without an interface text of their own are reported. Enable one with
// QT_LOGGING_RULES="vocarta.bookmarks.debug=true" or read the warnings on standard error.
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcLanguage)
Q_DECLARE_LOGGING_CATEGORY(lcPlayer)
Q_DECLARE_LOGGING_CATEGORY(lcBookmarks)
Q_DECLARE_LOGGING_CATEGORY(lcEditor)
