#pragma once

#include "platform/Desktop.h"
#include "platform/InstanceLock.h"

#include <QStringList>
#include <functional>
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
    // The environment variable that names the user's own sound settings command.
    static constexpr char kSoundSettingsVariable[] = "VOCARTA_SOUND_SETTINGS";
    // The sound settings command: the configured command line when its program is found,
    // otherwise the first known sound settings program found; empty when there is none.
    // `find` gives a program's full path, or "" when it is not there.
    static QStringList soundSettingsCommand(const QString& configured,
                                            const std::function<QString(const QString&)>& find);

private:
    QString m_lockFolder;
    std::unique_ptr<InstanceLock> m_lock;
};
