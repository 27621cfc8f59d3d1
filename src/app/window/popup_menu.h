// PopupMenu: how the main window's menus are shown and their items made. A menu drops
// down at the lower-left corner of the button that opened it and answers the command
// number of the item chosen (0 when the menu was closed without a choice). Items carry
// their command number as the action's data.
//
// Tests put in a hook that answers for the user instead of showing the menu.
// Thread: user-interface thread.
#pragma once

#include <QMenu>
#include <QString>

#include <functional>

class QAction;
class QWidget;

namespace lumora {

class PopupMenu {
public:
    // Gets the menu about to be shown and the point it would drop down at; answers a
    // command number (0: none).
    using Hook = std::function<int(QMenu& menu, QPoint at)>;
    static Hook SetHook(Hook hook);

    static int Run(QMenu& menu, const QWidget& button);

    static QAction* AddCommand(QMenu& menu, const QString& text, int command);
    // The command number of `action`; 0 for none (a separator, a submenu, no action).
    static int CommandOf(const QAction* action);
    // The first item of `menu` or its submenus with `command`; null when there is none.
    static QAction* Find(const QMenu& menu, int command);
};

}  // namespace lumora
