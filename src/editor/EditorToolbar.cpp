#include "editor/EditorToolbar.h"

// Placeholder until the toolbar's picture and zones land.
EditorToolbar::EditorToolbar(QWidget* parent) : QWidget(parent) {}

void EditorToolbar::setStyleLetters(const QString&, const QString&, const QString&,
                                    const QString&)
{
}

void EditorToolbar::setPointer(const QCursor&) {}

QRect EditorToolbar::zoneRect(int) const
{
    return {};
}

int EditorToolbar::zoneAt(QPoint) const
{
    return -1;
}

void EditorToolbar::hideMark()
{
    m_markedZone = -1;
}
