#pragma once

#include "platform/Desktop.h"

#include <QList>

class RecordingDesktop : public Desktop {
public:
    bool openUrl(const QUrl& url) override { return shown(url, programs); }
    bool openInBrowser(const QUrl& url) override { return shown(url, programs && browser); }
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
    QList<QUrl> openedUrls; // what was shown
    int soundSettingsOpened = 0;

private:
    bool shown(const QUrl& url, bool can)
    {
        openedUrls << QList<QUrl>(can ? 1 : 0, url);
        return can;
    }
};
