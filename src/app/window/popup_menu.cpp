#include "app/window/popup_menu.h"

#include <QAction>
#include <QWidget>

namespace lumora {

namespace {

PopupMenu::Hook& CurrentHook() {
    static PopupMenu::Hook hook;
    return hook;
}

}  // namespace

PopupMenu::Hook PopupMenu::SetHook(Hook hook) { return std::exchange(CurrentHook(), std::move(hook)); }

int PopupMenu::Run(QMenu& menu, const QWidget& button) {
    const QPoint at = button.mapToGlobal(QPoint(0, button.height()));
    if (CurrentHook()) return CurrentHook()(menu, at);
    return CommandOf(menu.exec(at));
}

QAction* PopupMenu::AddCommand(QMenu& menu, const QString& text, int command) {
    QAction* action = menu.addAction(text);
    action->setData(command);
    return action;
}

int PopupMenu::CommandOf(const QAction* action) {
    if (!action || action->isSeparator() || action->menu()) return 0;
    return action->data().toInt();
}

QAction* PopupMenu::Find(const QMenu& menu, int command) {
    for (QAction* action : menu.actions()) {
        if (QMenu* sub = action->menu()) {
            if (QAction* found = Find(*sub, command)) return found;
        } else if (CommandOf(action) == command && command != 0) {
            return action;
        }
    }
    return nullptr;
}

}  // namespace lumora
