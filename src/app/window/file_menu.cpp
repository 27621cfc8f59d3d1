#include "app/window/file_menu.h"

#include "app/window/command_ids.h"
#include "app/window/popup_menu.h"

#include <QAction>

namespace lumora {

FileMenu::FileMenu(const ToolDialogs& dialogs) : dialogs_(dialogs), capture_("Capture") {
    PopupMenu::AddCommand(capture_, "Videos...", cmd::kVideos)->setEnabled(false);
    PopupMenu::AddCommand(capture_, "Photos...", cmd::kPhotos)->setEnabled(false);
    menu_.addMenu(&capture_);
    menu_.addSeparator();
    PopupMenu::AddCommand(menu_, "Exit", cmd::kClose);
}

void FileMenu::EnableItem(int command, bool enabled) {
    ToolDialog dialog;
    if (command == cmd::kVideos) {
        dialog = ToolDialog::kRecording;
    } else if (command == cmd::kPhotos) {
        dialog = ToolDialog::kSnapshots;
    } else {
        return;
    }
    if (QAction* item = PopupMenu::Find(menu_, command)) item->setEnabled(enabled && dialogs_.Has(dialog));
}

}  // namespace lumora
