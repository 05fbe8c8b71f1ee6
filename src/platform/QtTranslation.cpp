#include "platform/QtTranslation.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <QWidget>

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

void announceLanguageChange()
{
    // A window with a parent has it from its parent, which passes the event to its children.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->parentWidget())
            continue;
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(window, &change);
    }
}

QString localeInUse()
{
    return inUse().translator ? inUse().locale : QString();
}

} // namespace QtTranslation
