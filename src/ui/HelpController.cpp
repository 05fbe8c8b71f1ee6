#include "ui/HelpController.h"

#include "core/AppState.h"
#include "core/Logging.h"
#include "core/PlayerCommands.h"
#include "platform/Desktop.h"
#include "ui/AboutDialog.h"
#include "ui/HelpFiles.h"
#include "ui/WebSite.h"

#include <QFileInfo>
#include <QUrl>
#include <QWidget>

HelpController::HelpController(const AppState& state, Desktop* desktop, PlayerCommands& player,
                               QObject* parent)
    : QObject(parent), m_state(state), m_desktop(desktop), m_player(player)
{
}

HelpController::~HelpController()
{
    // Going with the program: the windows it hid are not brought back.
    if (m_about) {
        m_about->disconnect(this);
        delete m_about;
    }
}

AboutDialog* HelpController::aboutDialog() const
{
    return m_about;
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
    connect(m_about, &AboutDialog::homePageClicked, this, [this] { openUrl(WebSite::page()); });
    m_about->show();
}

void HelpController::showHelp()
{
    openFile(HelpFiles::helpPage(m_state.programFolder, m_state.languageFile));
    minimisePlayer();
}

void HelpController::showVersionHistory()
{
    openFile(HelpFiles::versionHistory(m_state.programFolder));
    minimisePlayer();
}

void HelpController::showUpdatesPage()
{
    openUrl(WebSite::page(WebSite::kUpdatesPage));
    minimisePlayer();
}

void HelpController::showDonationPage()
{
    openUrl(WebSite::page(WebSite::kDonationPage));
    minimisePlayer();
}

void HelpController::showLanguagesPage()
{
    openUrl(WebSite::page(WebSite::kLanguagesPage));
    minimisePlayer();
}

void HelpController::openFile(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        qCWarning(lcPlayer).noquote() << "Not found:" << path;
        return;
    }
    openUrl(QUrl::fromLocalFile(path));
}

void HelpController::openUrl(const QUrl& url)
{
    if (!m_desktop || !m_desktop->openUrl(url))
        qCWarning(lcPlayer).noquote() << "Nothing could show" << url.toString();
}

void HelpController::minimisePlayer()
{
    if (QWidget* player = m_player.playerWindow())
        player->showMinimized();
}
