#include "skins/parvel_accessible.h"

#include <QWidget>

namespace lumora {

namespace {

QAccessibleInterface* ParvelFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    auto* control = dynamic_cast<AccessibleControl*>(object);
    return widget && control ? new ParvelAccessible(widget, *control) : nullptr;
}

}  // namespace

ParvelAccessible::ParvelAccessible(QWidget* widget, AccessibleControl& control)
    : QAccessibleWidget(widget, control.AccessibleRole()), control_(control) {}

void* ParvelAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface && control_.AccessibleRange()) {
        return static_cast<QAccessibleValueInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State ParvelAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    const QAccessible::State own = control_.AccessibleState();
    state.checkable |= own.checkable;
    state.checked |= own.checked;
    return state;
}

QString ParvelAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value) {
        if (const auto range = control_.AccessibleRange()) return QString::number(range->value);
        return control_.AccessibleValue();
    }
    return QAccessibleWidget::text(type);
}

QStringList ParvelAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (control_.AccessiblePressable() && widget()->isEnabled()) names.prepend(pressAction());
    return names;
}

void ParvelAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction() && control_.AccessiblePressable() && widget()->isEnabled()) {
        control_.AccessiblePress();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QVariant ParvelAccessible::currentValue() const {
    const auto range = control_.AccessibleRange();
    return range ? QVariant(range->value) : QVariant();
}

void ParvelAccessible::setCurrentValue(const QVariant& value) {
    if (widget()->isEnabled()) control_.AccessibleSetValue(value.toInt());
}

QVariant ParvelAccessible::maximumValue() const {
    const auto range = control_.AccessibleRange();
    return range ? QVariant(range->maximum) : QVariant();
}

QVariant ParvelAccessible::minimumValue() const {
    const auto range = control_.AccessibleRange();
    return range ? QVariant(range->minimum) : QVariant();
}

QVariant ParvelAccessible::minimumStepSize() const {
    return 1;
}

void InstallParvelAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(ParvelFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace lumora
