// FileMenu: the File button's menu, built once:
//
//   Capture > Videos... (2023), Photos... (2024)   both disabled at first
//   ---------
//   Exit (2018)
//
// "Videos..." and "Photos..." are enabled by the source connection, and only when their
// window is registered in the ToolDialogs (otherwise they stay disabled).
//
// Thread: user-interface thread. The ToolDialogs are borrowed and outlive the menu.
#pragma once

#include "app/window/tool_dialogs.h"

#include <QMenu>

namespace lumora {

class FileMenu {
public:
    explicit FileMenu(const ToolDialogs& dialogs);

    // Enables or disables "Videos..." or "Photos..."; other ids are ignored.
    void EnableItem(int command, bool enabled);

    QMenu& Menu() { return menu_; }

private:
    const ToolDialogs& dialogs_;
    QMenu menu_;
    QMenu capture_;
};

}  // namespace lumora
