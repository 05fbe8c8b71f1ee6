#pragma once

#include <QString>
#include <QUrl>

// What the program asks of the desktop around it.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Shows a file or a web page with the user's default program; does not wait for it. False
    // when the desktop is known to have no program for it.
    virtual bool openUrl(const QUrl& url) = 0;
    // Shows a web page, or a local HTML page, in the user's web browser; false when there is
    // none (a local page would otherwise go to whatever takes HTML files, such as a text editor).
    virtual bool openInBrowser(const QUrl& url) = 0;
    // Opens the desktop's sound settings, when it has any.
    virtual bool openSoundSettings() = 0;
    // True when no other instance of the program runs; this instance then holds the claim
    // until it ends.
    virtual bool claimSingleInstance() = 0;
};
