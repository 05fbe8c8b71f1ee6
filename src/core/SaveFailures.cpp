#include "core/SaveFailures.h"

#include "core/InterfaceTexts.h"
#include "platform/Dialogs.h"

bool SaveFailures::tell(Dialogs& dialogs, QWidget* owner, const InterfaceTexts& texts,
                        const QString& path, const QString& reason)
{
    if (m_quiet || m_told.contains(path))
        return false;
    m_told.insert(path);
    dialogs.warning(owner, texts.plain(Text::ProgramName),
                    texts.plain(Text::SaveFailed) + QLatin1Char('\n') + path + QLatin1Char('\n') +
                        reason);
    return true;
}
