#include "platform/ModuleCaptureDevice.h"

#include "platform/CaptureModule.h"
#include "platform/ModuleFile.h"

ModuleCaptureDevice::ModuleCaptureDevice(const QStringList& folders, const QString& fileName,
                                         CaptureModule::Factory linked, QObject* parent)
    : CaptureDevice(parent), m_folders(folders), m_fileName(fileName), m_linked(linked)
{
}

ModuleCaptureDevice::~ModuleCaptureDevice() = default;

bool ModuleCaptureDevice::load(QString* error)
{
    const QString path =
        m_linked ? QStringLiteral("the linked code") : ModuleFile::find(m_folders, m_fileName);
    QString reason;
    CaptureModule::Factory factory = m_linked;
    if (path.isEmpty())
        reason = ModuleFile::notFoundReason(m_folders, m_fileName);
    else if (!factory)
        factory = reinterpret_cast<CaptureModule::Factory>(
            ModuleFile::loadFactory(m_library, path, CaptureModule::kFactoryName, &reason));
    if (factory) {
        m_device.reset(factory());
        if (!m_device)
            reason = QStringLiteral("%1 made no device").arg(path);
    }
    if (!m_device) {
        if (error)
            *error = QStringLiteral("the sound capture module could not be loaded: ") + reason;
        return false;
    }
    // The module has its own copy of CaptureDevice's meta-object. Qt keeps a connection by the
    // signal's index, which both copies give alike, so the module's emits reach these.
    connect(m_device.get(), &CaptureDevice::opened, this, &CaptureDevice::opened);
    connect(m_device.get(), &CaptureDevice::bufferFilled, this, &CaptureDevice::bufferFilled);
    connect(m_device.get(), &CaptureDevice::failed, this, &CaptureDevice::failed);
    return true;
}

void ModuleCaptureDevice::open(const PcmFormat& format, int bufferSize)
{
    const quint64 attempt = ++m_attempt;
    QString reason;
    if (m_device || load(&reason)) {
        m_device->open(format, bufferSize);
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, attempt, reason] {
            if (attempt == m_attempt)
                Q_EMIT failed(Failure::Broken, reason);
        },
        Qt::QueuedConnection);
}

void ModuleCaptureDevice::setPaused(bool paused)
{
    if (m_device)
        m_device->setPaused(paused);
}

void ModuleCaptureDevice::close()
{
    ++m_attempt;
    if (m_device)
        m_device->close();
}

bool ModuleCaptureDevice::isOpen() const
{
    return m_device && m_device->isOpen();
}
