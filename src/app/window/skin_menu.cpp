#include "app/window/skin_menu.h"

#include "app/window/command_ids.h"
#include "app/window/popup_menu.h"
#include "skins/skin_manager.h"

#include <QAction>

namespace lumora {

SkinMenu::SkinMenu(QWidget* owner, SkinManager& skins, const ToolDialogs& dialogs)
        : owner_(owner), skins_(skins), dialogs_(dialogs) {}

void SkinMenu::Build() {
    menu_.clear();
    for (int i = 0; i < skins_.Count(); ++i) {
        PopupMenu::AddCommand(menu_, skins_.Get(i)->name, cmd::kFirstSkin + i)->setCheckable(true);
    }
    menu_.addSeparator();
    PopupMenu::AddCommand(menu_, "Skin editor", cmd::kSkinEditor)->setEnabled(dialogs_.Has(ToolDialog::kSkinEditor));
    Check(current_);
}

void SkinMenu::Prepare() {
    if (skins_.LoadSkinFoldersOnce()) Build();
}

void SkinMenu::Check(int index) {
    if (!skins_.Get(index)) return;
    current_ = index;
    for (QAction* item : menu_.actions()) {
        if (item->isCheckable()) item->setChecked(PopupMenu::CommandOf(item) == cmd::kFirstSkin + index);
    }
}

void SkinMenu::Handle(int command) {
    if (command == cmd::kSkinEditor) {
        dialogs_.Open(ToolDialog::kSkinEditor, owner_);
        return;
    }
    const int index = command - cmd::kFirstSkin;
    if (index == current_ || !skins_.Get(index)) return;
    Check(index);
    skins_.ApplySkin(index);
}

}  // namespace lumora
