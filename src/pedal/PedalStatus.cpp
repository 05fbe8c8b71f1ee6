#include "pedal/PedalStatus.h"

#include "core/InterfaceTexts.h"

QString PedalStatus::text(const InterfaceTexts& texts) const
{
    switch (kind) {
    case Kind::NotFound:
        break;
    case Kind::Connected:
        return texts.plain(Text::PedalConnected) + QLatin1Char(' ') + device;
    case Kind::NotAllowed:
        return texts.plain(Text::PedalNotAllowed) + QLatin1Char('\n') + device;
    case Kind::LayoutUnknown:
        return texts.plain(Text::PedalLayoutUnknown) + QLatin1Char('\n') + device;
    case Kind::CannotOpen:
        return texts.plain(Text::PedalCannotOpen) + QLatin1Char('\n') + device +
               QStringLiteral(": ") + reason;
    }
    return texts.plain(Text::NoPedalFound);
}
