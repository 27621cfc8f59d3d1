// SkinMenu: the Skin button's menu: one item per skin of the SkinManager (3501 + its
// index, the skin's name), a separator and "Skin editor" (3500). The current skin is
// checked; choosing another applies it to every registered window. The skin folders are
// read when the menu first opens, so that start-up decodes only the skin it shows.
//
// Thread: user-interface thread. The skin manager and the dialogs are borrowed.
#pragma once

#include "app/window/tool_dialogs.h"

#include <QMenu>
#include <QWidget>

namespace lumora {

class SkinManager;

class SkinMenu {
public:
    SkinMenu(QWidget* owner, SkinManager& skins, const ToolDialogs& dialogs);

    void Build();
    // Before the menu opens: start-up loads only the built-in skin, so the first opening
    // reads the skin folders and builds the items again.
    void Prepare();
    // Checks skin `index` (the first one at start-up); nothing for an index without a skin.
    void Check(int index);
    // A chosen item: another skin is checked and applied; the editor opens modally.
    void Handle(int command);

    int Current() const { return current_; }
    QMenu& Menu() { return menu_; }

private:
    QWidget* owner_;
    SkinManager& skins_;
    const ToolDialogs& dialogs_;
    QMenu menu_;
    int current_ = -1;
};

}  // namespace lumora
