#include "app/window/video_options_menu.h"

#include "app/preferences_dialog.h"
#include "app/window/command_ids.h"
#include "app/window/popup_menu.h"
#include "video/source_graph.h"

#include <QAction>

namespace lumora {

VideoOptionsMenu::VideoOptionsMenu(QWidget* owner, PropertyPageHost* pages, const ToolDialogs& dialogs)
        : owner_(owner), pages_(pages), dialogs_(dialogs), options_("Video options") {
    Build(nullptr, 0);
}

void VideoOptionsMenu::Build(SourceGraph* graph, int sourceId) {
    graph_ = graph;
    sourceId_ = graph ? sourceId : 0;
    menu_.clear();
    options_.clear();
    if (!graph_) {
        menu_.addAction("No options available")->setEnabled(false);
    } else {
        AddSourceItems(options_);
        menu_.addMenu(&options_);
    }
    menu_.addSeparator();
    PopupMenu::AddCommand(menu_, "Preferences", cmd::kPreferences);
}

void VideoOptionsMenu::AddSourceItems(QMenu& sub) {
    if (sourceId_ == cmd::kVideoFile) {
        PopupMenu::AddCommand(sub, "Video playlist", cmd::kVideoOption2)
            ->setEnabled(dialogs_.Has(ToolDialog::kPlaylist));
    } else if (sourceId_ == cmd::kImageFile || sourceId_ == cmd::kDesktop) {
        PopupMenu::AddCommand(sub, "Video output stream", cmd::kVideoOption1)
            ->setEnabled(dialogs_.Has(ToolDialog::kSourceOptions));
    } else if (sourceId_ >= cmd::kFirstCaptureDevice) {
        if (graph_->ShowPropertyPage(pages_, SourceGraph::PropertyPage::kCapturePin, true) > 0) {
            PopupMenu::AddCommand(sub, "Video capture pin...", cmd::kVideoOption1);
        }
        if (graph_->ShowPropertyPage(pages_, SourceGraph::PropertyPage::kCaptureFilter, true) > 0) {
            PopupMenu::AddCommand(sub, "Video capture filter...", cmd::kVideoOption2);
        }
    }
}

VideoOptionsMenu::Outcome VideoOptionsMenu::ShowDevicePage(int command) {
    const auto page = command == cmd::kVideoOption1 ? SourceGraph::PropertyPage::kCapturePin
                                                    : SourceGraph::PropertyPage::kCaptureFilter;
    return graph_->ShowPropertyPage(pages_, page, false) < 0 ? Outcome::kFailed : Outcome::kSucceeded;
}

VideoOptionsMenu::Outcome VideoOptionsMenu::Handle(int command) {
    if (command == cmd::kPreferences) {
        PreferencesDialog::ShowModal(owner_);
        return Outcome::kNothing;
    }
    if (!graph_ || (command != cmd::kVideoOption1 && command != cmd::kVideoOption2)) return Outcome::kNothing;
    if (sourceId_ >= cmd::kFirstCaptureDevice) return ShowDevicePage(command);
    if (sourceId_ == cmd::kVideoFile && command == cmd::kVideoOption2) {
        return dialogs_.Open(ToolDialog::kPlaylist, owner_) ? Outcome::kSucceeded : Outcome::kNothing;
    }
    if ((sourceId_ == cmd::kImageFile || sourceId_ == cmd::kDesktop) && command == cmd::kVideoOption1) {
        // The dialog rebuilds and runs the graph itself; a failed rebuild has said so.
        return dialogs_.Open(ToolDialog::kSourceOptions, owner_) ? Outcome::kSucceeded : Outcome::kNothing;
    }
    return Outcome::kNothing;
}

}  // namespace lumora
