#pragma once

#include <QString>

// The accelerator letters of a caption: each character after a single "&" ("&&" is a literal).
inline QString accelerators(const QString& caption)
{
    QString keys;
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            keys += caption[i + 1].toLower();
        ++i;
    }
    return keys;
}
