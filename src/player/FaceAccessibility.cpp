#include "player/FaceAccessibility.h"

#include "player/SkinButton.h"
#include "player/VolumeKnob.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace {

class SkinButtonAccessible : public QAccessibleWidget {
public:
    explicit SkinButtonAccessible(SkinButton* button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action == pressAction())
            static_cast<SkinButton*>(widget())->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

class VolumeKnobAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit VolumeKnobAccessible(VolumeKnob* knob) : QAccessibleWidget(knob, QAccessible::Slider)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return knob()->value(); }
    void setCurrentValue(const QVariant& value) override { knob()->chooseValue(value.toInt()); }
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    VolumeKnob* knob() const { return static_cast<VolumeKnob*>(widget()); }
};

QAccessibleInterface* faceWidgetAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("SkinButton"))
        return new SkinButtonAccessible(static_cast<SkinButton*>(object));
    if (className == QLatin1String("VolumeKnob"))
        return new VolumeKnobAccessible(static_cast<VolumeKnob*>(object));
    return nullptr;
}

} // namespace

namespace FaceAccessibility {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(faceWidgetAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace FaceAccessibility
