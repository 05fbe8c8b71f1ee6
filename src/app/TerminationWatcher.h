#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the signals that end a program from outside (SIGTERM from kill or a shutdown, SIGHUP
// when the session or terminal goes, SIGINT from Ctrl+C) into a Qt signal on the GUI thread, so
// that the program can save before it ends. One watcher at a time; the default handling comes
// back when it is destroyed.
class TerminationWatcher : public QObject {
    Q_OBJECT
public:
    explicit TerminationWatcher(QObject* parent = nullptr);
    ~TerminationWatcher() override;
    TerminationWatcher(const TerminationWatcher&) = delete;
    TerminationWatcher& operator=(const TerminationWatcher&) = delete;

    // Whether the handlers are in place (they are not when the system refused them).
    bool isWatching() const { return m_notifier != nullptr; }

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};
