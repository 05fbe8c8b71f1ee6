#pragma once

// What the player window's help and donation menus ask of the About window and the pages they
// open. Every page command minimises the player once the page is handed to the desktop.
class HelpCommands {
public:
    virtual ~HelpCommands() = default;

    // The About window, shown in place of the player and its companion windows until it closes.
    virtual void showAbout() = 0;
    // The help page in the current language (Italian, Russian or English).
    virtual void showHelp() = 0;
    virtual void showVersionHistory() = 0;
    virtual void showUpdatesPage() = 0;
    virtual void showDonationPage() = 0;
    // The web page that offers more language files.
    virtual void showLanguagesPage() = 0;
};
