#pragma once

#include "core/PedalCommands.h"
#include "pedal/PedalController.h"
#include "pedal/PedalOptionsDialog.h"
#include "pedal/PedalReader.h"
#include "pedal/PedalStatus.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class Dialogs;

class QWidget;
struct AppState;
struct HidDevice;

// Where the kernel lists and offers its devices; elsewhere only for tests.
struct PedalPlaces {
    QString sysfsRoot = QStringLiteral("/sys");
    QString deviceRoot = QStringLiteral("/dev");
};

// The foot pedals of a run: looks for a known pedal now and every few seconds while none is
// open, reads it, and runs what its pedals are set to do. Nothing here ever asks the user: what
// was found is the status line of the options.
class FootPedals : public QObject, public PedalCommands {
    Q_OBJECT
public:
    static constexpr int kScanMs = 3000;

    FootPedals(AppState& state, Dialogs& dialogs, const PedalTargets& targets,
               const PedalPlaces& places = PedalPlaces(), QObject* parent = nullptr);
    ~FootPedals() override;

    // The editor comes after the pedals, and may go before them.
    void setEditor(EditorCommands* editor) { m_controller.setEditor(editor); }

    // Reads the options file, then looks for a pedal now and every few seconds.
    void start();
    // The scan timer's handler: opens the first known pedal attached, unless one is open.
    void scan();

    const PedalStatus& status() const { return m_status; }
    const PedalOptions& options() const { return m_controller.options(); }
    // Applies the options and writes their file; a failure is told once and returns false.
    bool setOptions(const PedalOptions& options, QWidget* owner = nullptr);

    PedalController& controller() { return m_controller; }
    PedalReader& reader() { return m_reader; }
    bool isScanning() const { return m_scanTimer.isActive(); }

    // The options dialog, brought forward when it is open already.
    void showOptions(QWidget* parent) override;
    PedalOptionsDialog* optionsDialog() const { return m_dialog; }

Q_SIGNALS:
    void statusChanged();

private:
    void setStatus(const PedalStatus& status);
    // Tries the device; true when it was opened.
    bool tryOpen(const HidDevice& device, const PedalLayout& layout, const QString& name);
    void pedalLost(const QString& reason);
    QString optionsPath() const;

    AppState& m_state;
    Dialogs& m_dialogs;
    PedalPlaces m_places;
    PedalReader m_reader;
    PedalController m_controller;
    PedalStatus m_status;
    QTimer m_scanTimer;
    QPointer<PedalOptionsDialog> m_dialog;
};
