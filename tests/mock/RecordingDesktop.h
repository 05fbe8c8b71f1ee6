#pragma once

#include "platform/Desktop.h"

#include <QList>

class RecordingDesktop : public Desktop {
public:
    bool openUrl(const QUrl& url) override
    {
        openedUrls << url;
        return true;
    }
    bool openSoundSettings() override
    {
        ++soundSettingsOpened;
        return true;
    }
    bool claimSingleInstance() override { return !anotherInstanceRuns; }

    bool anotherInstanceRuns = false;
    QList<QUrl> openedUrls;
    int soundSettingsOpened = 0;
};
