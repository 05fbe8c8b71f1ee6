#include "player/BusyPointer.h"

#include <QApplication>

BusyPointer::BusyPointer(QObject* parent) : QObject(parent)
{
    m_due.setSingleShot(true);
    m_due.setInterval(kDelayMs);
    connect(&m_due, &QTimer::timeout, this, &BusyPointer::show);
}

void BusyPointer::setBusy(bool busy)
{
    if (busy) {
        if (!m_shown && !m_due.isActive())
            m_due.start();
        return;
    }
    m_due.stop();
    if (m_shown) {
        m_shown = false;
        QApplication::restoreOverrideCursor();
    }
}

void BusyPointer::show()
{
    m_shown = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
