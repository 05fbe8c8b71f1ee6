#pragma once

#include <QString>

// The program's name in window captions and message boxes, the same in every language.
inline QString productTitle()
{
    return QStringLiteral("Vocarta");
}

// The name of the installed desktop entry, without ".desktop": the desktop and the media panel
// find the program's icon and menu entry by it.
inline QString desktopEntryName()
{
    return QStringLiteral("org.vocarta.vocarta");
}
