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

    // The lock file that the claim holds in `lockFolder`.
    static QString lockPath(const QString& lockFolder);

private:
    QString m_lockFolder;
    std::unique_ptr<QLockFile> m_lock;
};
