// AccessibleControl: what a skinned control tells screen readers about itself. Each
// control widget implements it beside QWidget; ParvelAccessible turns it into Qt's
// accessibility interface. User-interface thread.
#pragma once

#include <QAccessible>
#include <QString>

#include <optional>

namespace lumora {

class AccessibleControl {
public:
    struct Range {
        int minimum = 0;
        int maximum = 0;
        int value = 0;
    };

    virtual QAccessible::Role AccessibleRole() const = 0;
    // States beyond those of every widget (focus, disabled, ...): checked, for example.
    virtual QAccessible::State AccessibleState() const { return {}; }
    // The value read out (a tab's or a list item's name); empty for none.
    virtual QString AccessibleValue() const { return {}; }
    // For controls with a position: its range; nothing for others.
    virtual std::optional<Range> AccessibleRange() const { return std::nullopt; }
    // Sets the position as the user would, notifying the owner.
    virtual void AccessibleSetValue(int) {}
    // Whether the control has a press action, and that action (a click as by the user).
    virtual bool AccessiblePressable() const { return false; }
    virtual void AccessiblePress() {}

protected:
    ~AccessibleControl() = default;
};

}  // namespace lumora
