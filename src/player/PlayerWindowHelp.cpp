#include "core/AppState.h"
#include "core/Logging.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/QtTranslation.h"
#include "player/PlayerWindow.h"

void PlayerWindow::chooseLanguage()
{
    const QString language = m_state.texts.plain(Text::Language);
    FileDialogRequest request;
    request.owner = this;
    request.open = true;
    request.title = language;
    // The entry ends in "...", which a filter's description does without.
    request.filters = {
        {language.chopped(std::min<qsizetype>(3, language.size())), QStringLiteral("*.lng")}};
    request.defaultExtension = QStringLiteral("lng");
    request.initialFolder = m_state.path(QStringLiteral("Files/Lang"));
    const QString chosen = m_platform.dialogs->showFileDialog(request);
    if (chosen.isEmpty())
        return;

    // A file the next start could not find or read is not taken: the current language is read
    // again instead, and the settings keep it.
    const QString current = m_state.languageFile;
    if (const auto name = languageFileOf(chosen, request.initialFolder)) {
        const QString fault = InterfaceTexts::checkFile(chosen);
        if (fault.isEmpty()) {
            m_state.languageFile = *name;
        } else {
            qCWarning(lcLanguage).noquote() << "Language file refused:" << chosen << fault;
            m_platform.dialogs->warning(this, m_state.texts.plain(Text::ProgramName),
                                        m_state.texts.plain(Text::LanguageFileNotTaken) +
                                            QLatin1Char('\n') + chosen + QLatin1Char('\n') + fault);
        }
    } else {
        qCWarning(lcLanguage).noquote()
            << "Not in" << request.initialFolder << "so not taken:" << chosen;
    }
    if (!m_state.texts.load(m_state.languagePath())) {
        qCWarning(lcLanguage).noquote() << "Cannot read" << m_state.languagePath();
        m_state.languageFile = current;
    }
    translateQtTexts(m_state.languageFile);
    QtTranslation::announceLanguageChange();
    m_keeper->save();
}

void PlayerWindow::openSoundSettings()
{
    if (!m_platform.desktop || !m_platform.desktop->openSoundSettings())
        qCInfo(lcPlayer) << "No sound settings program was found";
}
