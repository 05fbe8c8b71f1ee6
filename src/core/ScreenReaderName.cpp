#include "core/ScreenReaderName.h"

#include "core/InterfaceTexts.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace {

QAccessibleInterface* plainWindowAccessible(const QString& className, QObject* object)
{
    // Qt's own classes (menus among them) and windows built on them have interfaces of their own.
    if (!object->isWidgetType() || className.startsWith(u'Q') ||
        object->metaObject()->superClass() != &QWidget::staticMetaObject)
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void setScreenReaderName(QWidget* control, const QString& name)
{
    const QString plain = StripAmpersands(name);
    control->setAccessibleName(plain);
    if (auto* box = qobject_cast<QComboBox*>(control); box && box->lineEdit())
        box->lineEdit()->setAccessibleName(plain);
}

void installScreenReaderWindows()
{
    QAccessible::installFactory(plainWindowAccessible);
}
