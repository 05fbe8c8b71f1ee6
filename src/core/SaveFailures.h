#pragma once

#include "core/Text.h"

#include <QSet>
#include <QString>

class Dialogs;
class InterfaceTexts;
class QWidget;

// Saves that failed, told to the user once per file and run: the settings are saved after every
// option change, and one box about a read-only folder is enough. Also reads that failed where a
// later save depends on what the file holds. The caller logs every failure.
class SaveFailures {
public:
    // While quiet (the program ends on a signal or with the desktop session) nothing is asked
    // or shown; failures are only logged.
    void setQuiet(bool quiet) { m_quiet = quiet; }
    bool isQuiet() const { return m_quiet; }

    // Shows a box with the heading, the file and the system's reason, unless this file was told
    // already under this heading. Returns whether it showed one.
    bool tell(Dialogs& dialogs, QWidget* owner, const InterfaceTexts& texts, const QString& path,
              const QString& reason, Text heading = Text::SaveFailed);

private:
    QSet<QString> m_told; // heading number, "\n", path
    bool m_quiet = false;
};
