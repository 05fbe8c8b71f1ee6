#include "pedal/FootPedals.h"

#include "core/AppState.h"
#include "pedal/HidDevices.h"
#include "pedal/PedalLogging.h"
#include "pedal/PedalOptionsDialog.h"

namespace {

QString deviceText(const HidDevice& device, const QString& name)
{
    return QStringLiteral("%1 [%2] (%3)")
        .arg(name, usbId(device.vendor, device.product), device.node);
}

} // namespace

FootPedals::FootPedals(AppState& state, Dialogs& dialogs, const PedalTargets& targets,
                       const PedalPlaces& places, QObject* parent)
    : QObject(parent), m_state(state), m_dialogs(dialogs), m_places(places)
{
    m_controller.setTargets(targets);
    m_scanTimer.setInterval(kScanMs);
    connect(&m_scanTimer, &QTimer::timeout, this, &FootPedals::scan);
    connect(&m_reader, &PedalReader::pedalsChanged, &m_controller, &PedalController::setDown);
    connect(&m_reader, &PedalReader::lost, this, &FootPedals::pedalLost);
}

FootPedals::~FootPedals()
{
    delete m_dialog;
}

QString FootPedals::optionsPath() const
{
    return m_state.filesPath(QLatin1String(PedalOptions::kFileName));
}

void FootPedals::start()
{
    QString error;
    m_controller.setOptions(PedalOptions::read(optionsPath(), &error));
    if (!error.isEmpty())
        qCWarning(lcPedal).noquote() << "Cannot read" << optionsPath() << error;
    scan();
}

void FootPedals::scan()
{
    if (m_reader.isOpen())
        return;
    std::optional<PedalStatus> firstFailure;
    std::optional<PedalStatus> unknown;
    for (const HidDevice& device : listHidDevices(m_places.sysfsRoot, m_places.deviceRoot)) {
        if (const PedalModel* model = findPedalModel(device.vendor, device.product)) {
            const QString name = QLatin1String(model->name);
            QString error;
            switch (m_reader.open(device.node, model->layout, &error)) {
            case PedalReader::OpenResult::Opened:
                m_scanTimer.stop();
                setStatus({PedalStatus::Kind::Connected, deviceText(device, name), QString()});
                return;
            case PedalReader::OpenResult::NotAllowed:
                if (!firstFailure)
                    firstFailure = {PedalStatus::Kind::NotAllowed, deviceText(device, name), error};
                break;
            case PedalReader::OpenResult::Failed:
                if (!firstFailure)
                    firstFailure = {PedalStatus::Kind::CannotOpen, deviceText(device, name), error};
                break;
            }
        } else if (!unknown && looksLikePedal(device.vendor, device.name)) {
            unknown = {PedalStatus::Kind::LayoutUnknown, deviceText(device, device.name),
                       QString()};
        }
    }
    setStatus(firstFailure ? *firstFailure : unknown ? *unknown : PedalStatus());
    // A pedal plugged in, or allowed after the rule was installed, is found on a later round.
    if (!m_scanTimer.isActive())
        m_scanTimer.start();
}

void FootPedals::pedalLost(const QString& reason)
{
    qCInfo(lcPedal).noquote() << "Foot pedal lost:" << reason;
    // Nothing goes on playing for a pedal that is no longer there.
    m_controller.releaseAll();
    if (m_dialog)
        m_dialog->showDown({});
    setStatus({});
    m_scanTimer.start();
}

void FootPedals::setStatus(const PedalStatus& status)
{
    if (status == m_status)
        return;
    m_status = status;
    qCInfo(lcPedal).noquote() << m_status.text(m_state.texts);
    Q_EMIT statusChanged();
}

bool FootPedals::setOptions(const PedalOptions& options, QWidget* owner)
{
    m_controller.setOptions(options);
    QString error;
    if (options.write(optionsPath(), &error))
        return true;
    qCWarning(lcPedal).noquote() << "Pedal options not saved:" << error;
    m_state.saveFailures.tell(m_dialogs, owner, m_state.texts, optionsPath(), error);
    return false;
}

void FootPedals::showOptions(QWidget* parent)
{
    if (!m_dialog) {
        m_dialog = new PedalOptionsDialog(m_state.texts, options(), parent);
        m_dialog->setAttribute(Qt::WA_DeleteOnClose);
        m_dialog->showStatus(m_status.text(m_state.texts));
        connect(this, &FootPedals::statusChanged, m_dialog,
                [this] { m_dialog->showStatus(m_status.text(m_state.texts)); });
        connect(&m_reader, &PedalReader::pedalsChanged, m_dialog, &PedalOptionsDialog::showDown);
        connect(m_dialog, &QDialog::accepted, this,
                [this] { setOptions(m_dialog->options(), m_dialog->parentWidget()); });
    }
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}
