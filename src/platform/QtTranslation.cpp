#include "platform/QtTranslation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace QtTranslation {

namespace {

struct InUse {
    QPointer<QTranslator> translator;
    QString locale;
};

InUse& inUse()
{
    static InUse current;
    return current;
}

} // namespace

QString use(const QString& localeName)
{
    InUse& current = inUse();
    if (current.translator && current.locale == localeName)
        return QString();
    if (current.translator) {
        QCoreApplication::removeTranslator(current.translator);
        delete current.translator;
    }
    current.locale.clear();
    // English is Qt's own language.
    if (localeName.isEmpty() || localeName == QLatin1String("en"))
        return QString();
    const QString file = QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                         QStringLiteral("/qtbase_") + localeName + QStringLiteral(".qm");
    if (!QFileInfo::exists(file))
        return QString();
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(file)) {
        delete translator;
        return QStringLiteral("Cannot read ") + file;
    }
    QCoreApplication::installTranslator(translator);
    current.translator = translator;
    current.locale = localeName;
    return QString();
}

QString localeInUse()
{
    return inUse().translator ? inUse().locale : QString();
}

} // namespace QtTranslation
