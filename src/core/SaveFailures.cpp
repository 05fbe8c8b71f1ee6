#include "core/SaveFailures.h"

#include "core/InterfaceTexts.h"
#include "platform/Dialogs.h"

bool SaveFailures::tell(Dialogs& dialogs, QWidget* owner, const InterfaceTexts& texts,
                        const QString& path, const QString& reason, Text heading)
{
    const QString key = QString::number(int(heading)) + QLatin1Char('\n') + path;
    if (m_quiet || m_told.contains(key))
        return false;
    m_told.insert(key);
    dialogs.warning(owner, texts.plain(Text::ProgramName),
                    texts.plain(heading) + QLatin1Char('\n') + path + QLatin1Char('\n') + reason);
    return true;
}
