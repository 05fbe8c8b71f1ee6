#pragma once

#include "core/HelpCommands.h"

#include <QObject>
#include <QPointer>

class AboutDialog;
class Desktop;
class PlayerCommands;
class QUrl;
struct AppState;

// The help and donation menus' commands: the About window, shown in place of the player and its
// companion windows, and the local and web pages handed to the desktop.
class HelpController : public QObject, public HelpCommands {
    Q_OBJECT
public:
    // `desktop` may be null (nothing is opened then).
    HelpController(const AppState& state, Desktop* desktop, PlayerCommands& player,
                   QObject* parent = nullptr);
    ~HelpController() override;

    // The About window while it is open.
    AboutDialog* aboutDialog() const;

    void showAbout() override;
    void showHelp() override;
    void showVersionHistory() override;
    void showUpdatesPage() override;
    void showDonationPage() override;
    void showLanguagesPage() override;

private:
    // Hands the local file to the desktop when it exists.
    void openFile(const QString& path);
    void openUrl(const QUrl& url);
    void minimisePlayer();

    const AppState& m_state;
    Desktop* m_desktop;
    PlayerCommands& m_player;
    QPointer<AboutDialog> m_about;
};
