#pragma once

#include <QString>

// The program's name in window captions and message boxes, the same in every language.
inline QString productTitle()
{
    return QStringLiteral("Vocarta");
}
