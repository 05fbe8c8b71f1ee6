#pragma once

#include "platform/CaptureDevice.h"
#include "platform/CaptureModule.h"

#include <QLibrary>
#include <QStringList>
#include <memory>

// The sound input of the capture module. The module, and the sound server's libraries it needs,
// are loaded on the GUI thread the first time the input is opened; from then on every call goes
// to the module's device and its signals come out of this one. When the module cannot be loaded,
// the opening fails with the reason and the next open() tries again. Given the factory of capture
// code linked into the program, it loads no module and makes the device with that.
class ModuleCaptureDevice : public CaptureDevice {
    Q_OBJECT
public:
    // Looks for the module `fileName` in `folders`, first match first.
    ModuleCaptureDevice(const QStringList& folders, const QString& fileName,
                        CaptureModule::Factory linked = nullptr, QObject* parent = nullptr);
    ~ModuleCaptureDevice() override;

    void open(const PcmFormat& format, int bufferSize) override;
    void setPaused(bool paused) override;
    void close() override;
    bool isOpen() const override;

    // The module's device once it is loaded, else null.
    CaptureDevice* device() const { return m_device.get(); }

private:
    [[nodiscard]] bool load(QString* error);

    QStringList m_folders;
    QString m_fileName;
    CaptureModule::Factory m_linked;
    QLibrary m_library;
    std::unique_ptr<CaptureDevice> m_device;
    // Counts the opens and closes, so that a failure to load reported late follows only its open.
    quint64 m_attempt = 0;
};
