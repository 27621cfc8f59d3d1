// ParvelAccessible: Qt's accessibility interface for a skinned control (a QWidget that is
// an AccessibleControl): its role, states, value and press action, so that screen
// readers can name and use it. InstallParvelAccessibility registers the factory once;
// every control calls it when it is made. User-interface thread.
#pragma once

#include "skins/accessible_control.h"

#include <QAccessibleWidget>

namespace lumora {

class ParvelAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    ParvelAccessible(QWidget* widget, AccessibleControl& control);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    AccessibleControl& control_;
};

void InstallParvelAccessibility();

}  // namespace lumora
