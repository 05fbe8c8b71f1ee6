#pragma once

#include <QObject>
#include <QTimer>

// The application's wait pointer, shown only when a wait goes on: a quick load does not flicker
// it.
class BusyPointer : public QObject {
    Q_OBJECT
public:
    // How long a wait goes on before the pointer shows it.
    static constexpr int kDelayMs = 300;

    explicit BusyPointer(QObject* parent = nullptr);

    void setBusy(bool busy);

private:
    void show();

    QTimer m_due{this};
    bool m_shown = false;
};
