#pragma once

#include "platform/Desktop.h"
#include "platform/InstanceLock.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QtDesktop : public Desktop {
public:
    explicit QtDesktop(QString lockFolder);
    ~QtDesktop() override;

    bool openUrl(const QUrl& url) override;
    bool openInBrowser(const QUrl& url) override;
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

    // The desktop entry ("firefox.desktop") a MIME type or URL scheme handler type
    // ("x-scheme-handler/https") opens with: "" for none, nullopt when the desktop cannot tell.
    using DefaultProgram = std::function<std::optional<QString>(const QString& type)>;
    // Whether the desktop entry is a web browser's.
    using IsWebBrowser = std::function<bool(const QString& desktopEntry)>;
    // Whether the desktop would show the URL (in a web browser with `inBrowser`). Where the
    // desktop cannot tell, the URL is taken as shown.
    static bool wouldShow(const QUrl& url, bool inBrowser, const DefaultProgram& defaultProgram,
                          const IsWebBrowser& isWebBrowser);

private:
    bool open(const QUrl& url, bool inBrowser);

    QString m_lockFolder;
    std::unique_ptr<InstanceLock> m_lock;
};
