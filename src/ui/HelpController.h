#pragma once

#include "core/HelpCommands.h"

#include <QObject>
#include <QPointer>

class AboutDialog;
class Desktop;
class Dialogs;
class HelpWindow;
class PlayerCommands;
class QUrl;
class QWidget;
struct AppState;
struct Platform;

// The help and donation menus' commands: the About window, shown in place of the player and its
// companion windows, and the local and web pages handed to the desktop. A page the desktop
// cannot show is said so, and the windows stay; the help pages then show in a window of the
// program.
class HelpController : public QObject, public HelpCommands {
    Q_OBJECT
public:
    // The platform's desktop may be null (nothing is opened then). `owner` is the player's window:
    // the boxes belong to it, and it is minimised while a page shows.
    HelpController(const AppState& state, const Platform& platform, PlayerCommands& player,
                   QWidget* owner, QObject* parent = nullptr);
    ~HelpController() override;

    // The About window while it is open.
    AboutDialog* aboutDialog() const;
    // The program's help window while it is open.
    HelpWindow* helpWindow() const;

    void showAbout() override;
    void showHelp() override;
    void showVersionHistory() override;
    void showUpdatesPage() override;
    void showDonationPage() override;
    void showLanguagesPage() override;

private:
    // Hands a local page (an HTML page only to a web browser) to the desktop, and minimises the
    // player; where the desktop cannot show it, the help window shows it.
    void showLocalPage(const QString& path, bool html, const QString& title);
    // Hands the web page to the desktop's browser; false, once the user was told, when there is
    // none.
    bool showWebPage(const QUrl& url, QWidget* owner);
    void showWebPageAndMinimise(const QUrl& url);
    void minimisePlayer();

    const AppState& m_state;
    Desktop* m_desktop;
    Dialogs* m_dialogs;
    PlayerCommands& m_player;
    QWidget* m_owner;
    QPointer<AboutDialog> m_about;
    QPointer<HelpWindow> m_helpWindow;
};
