#include "ui/HelpController.h"

#include "core/AppState.h"
#include "core/Logging.h"
#include "core/PlayerCommands.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "ui/AboutDialog.h"
#include "ui/HelpFiles.h"
#include "ui/HelpWindow.h"
#include "ui/WebSite.h"

#include <QFileInfo>
#include <QUrl>
#include <QWidget>

HelpController::HelpController(const AppState& state, const Platform& platform,
                               PlayerCommands& player, QWidget* owner, QObject* parent)
    : QObject(parent), m_state(state), m_desktop(platform.desktop), m_dialogs(platform.dialogs),
      m_player(player), m_owner(owner)
{
}

HelpController::~HelpController()
{
    // Going with the program: the windows it hid are not brought back.
    if (m_about) {
        m_about->disconnect(this);
        delete m_about;
    }
    delete m_helpWindow;
}

AboutDialog* HelpController::aboutDialog() const
{
    return m_about;
}

HelpWindow* HelpController::helpWindow() const
{
    return m_helpWindow;
}

void HelpController::showAbout()
{
    if (m_about) {
        m_about->raise();
        m_about->activateWindow();
        return;
    }
    m_player.hideWindows();
    m_about = new AboutDialog(m_state);
    connect(m_about, &QDialog::finished, this, [this] {
        m_about->deleteLater();
        m_player.showWindows();
    });
    connect(m_about, &AboutDialog::homePageClicked, this,
            [this] { showWebPage(WebSite::page(), m_about); });
    m_about->show();
}

void HelpController::showHelp()
{
    showLocalPage(HelpFiles::helpPage(m_state.programFolder, m_state.languageFile), true,
                  AboutDialog::caption(m_state.texts.text(Text::Help)));
}

void HelpController::showVersionHistory()
{
    showLocalPage(HelpFiles::versionHistory(m_state.programFolder), false,
                  AboutDialog::caption(m_state.texts.text(Text::VersionHistory)));
}

void HelpController::showUpdatesPage()
{
    showWebPageAndMinimise(WebSite::page(WebSite::kUpdatesPage));
}

void HelpController::showDonationPage()
{
    showWebPageAndMinimise(WebSite::page(WebSite::kDonationPage));
}

void HelpController::showLanguagesPage()
{
    showWebPageAndMinimise(WebSite::page(WebSite::kLanguagesPage));
}

void HelpController::showLocalPage(const QString& path, bool html, const QString& title)
{
    const QUrl url = QUrl::fromLocalFile(path);
    if (QFileInfo(path).isFile() && m_desktop &&
        (html ? m_desktop->openInBrowser(url) : m_desktop->openUrl(url))) {
        minimisePlayer();
        return;
    }
    if (!m_helpWindow) {
        m_helpWindow = new HelpWindow;
        connect(m_helpWindow, &HelpWindow::outsideLinkClicked, this,
                [this](const QUrl& link) { showWebPage(link, m_helpWindow); });
    }
    QString error;
    if (!m_helpWindow->showPage(path, &error)) {
        delete m_helpWindow;
        qCWarning(lcPlayer).noquote() << error;
        m_dialogs->warning(m_owner, m_state.texts.plain(Text::ProgramName),
                           m_state.texts.plain(Text::CannotOpenFile) + QLatin1Char('\n') + path);
        return;
    }
    m_helpWindow->setWindowTitle(title);
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}

bool HelpController::showWebPage(const QUrl& url, QWidget* owner)
{
    if (m_desktop && m_desktop->openInBrowser(url))
        return true;
    m_dialogs->warning(owner, m_state.texts.plain(Text::ProgramName),
                       m_state.texts.plain(Text::NoWebBrowser) + QLatin1Char('\n') +
                           url.toString());
    return false;
}

void HelpController::showWebPageAndMinimise(const QUrl& url)
{
    if (showWebPage(url, m_owner))
        minimisePlayer();
}

void HelpController::minimisePlayer()
{
    if (m_owner)
        m_owner->showMinimized();
}
