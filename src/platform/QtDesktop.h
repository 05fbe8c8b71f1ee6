#pragma once

#include "platform/Desktop.h"

#include <QLockFile>
#include <memory>

class QtDesktop : public Desktop {
public:
    explicit QtDesktop(QString lockFolder);
    ~QtDesktop() override;

    bool openUrl(const QUrl& url) override;
    bool openSoundSettings() override;
    bool claimSingleInstance() override;

private:
    QString m_lockFolder;
    std::unique_ptr<QLockFile> m_lock;
};
