#pragma once

#include "platform/Desktop.h"

#include <QList>

class RecordingDesktop : public Desktop {
public:
    bool openUrl(const QUrl& url) override { return open(url, programs); }
    bool openInBrowser(const QUrl& url) override { return open(url, programs && browser); }
    bool openSoundSettings() override
    {
        ++soundSettingsOpened;
        return true;
    }
    bool claimSingleInstance() override { return !anotherInstanceRuns; }

    bool anotherInstanceRuns = false;
    // Cleared: the desktop has no program to show anything (or no web browser).
    bool programs = true;
    bool browser = true;
    // What was shown.
    QList<QUrl> openedUrls;
    int soundSettingsOpened = 0;

private:
    bool open(const QUrl& url, bool shown)
    {
        if (shown)
            openedUrls << url;
        return shown;
    }
};
