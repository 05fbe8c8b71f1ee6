#include "ui/WebSite.h"

#include <QString>

namespace WebSite {

QUrl page(const char* path)
{
    return QUrl(QString::fromLatin1(kAddress) + QString::fromLatin1(path));
}

} // namespace WebSite
