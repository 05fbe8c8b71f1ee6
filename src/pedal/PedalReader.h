#pragma once

#include "pedal/PedalModels.h"

#include <QObject>
#include <QString>

class QSocketNotifier;

// Reads a pedal's input reports from its device file (/dev/hidrawN) as they come, on the GUI
// thread and without ever waiting on the device: the file is non-blocking and read only when
// the event loop says it has something.
class PedalReader : public QObject {
    Q_OBJECT
public:
    explicit PedalReader(QObject* parent = nullptr);
    ~PedalReader() override;

    enum class OpenResult { Opened, NotAllowed, Failed };
    // Closes a device already open first. On failure `error` gets the system's reason.
    [[nodiscard]] OpenResult open(const QString& node, const PedalLayout& layout,
                                  QString* error = nullptr);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    const QString& node() const { return m_node; }

    // The notifier's handler: takes every report waiting.
    void readReports();

Q_SIGNALS:
    // The pedals held down changed.
    void pedalsChanged(PedalSet down);
    // The device went away (unplugged) or failed; it is closed already.
    void lost(const QString& reason);

private:
    int m_fd = -1;
    QString m_node;
    PedalLayout m_layout;
    PedalSet m_down;
    QSocketNotifier* m_notifier = nullptr;
};
