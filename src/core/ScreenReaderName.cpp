#include "core/ScreenReaderName.h"

#include "core/InterfaceTexts.h"

#include <QComboBox>
#include <QLineEdit>

void setScreenReaderName(QWidget* control, const QString& name)
{
    const QString plain = StripAmpersands(name);
    control->setAccessibleName(plain);
    if (auto* box = qobject_cast<QComboBox*>(control); box && box->lineEdit())
        box->lineEdit()->setAccessibleName(plain);
}
