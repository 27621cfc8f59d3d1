#include "app/window/video_source_menu.h"

#include "app/preferences.h"
#include "app/window/command_ids.h"
#include "app/window/popup_menu.h"
#include "tools/file_chooser.h"
#include "tools/playlist_files.h"

#include <QAction>

namespace lumora {

namespace {

FileChoice ImageChoice(QWidget* owner) {
    return {owner,
            FileChoice::Mode::kOpenOne,
            "Open Image File...",
            {{"Image Files (*.bmp; *.jpg; *.gif; *.wmf; *.ico)", "*.bmp; *.jpg; *.gif; *.wmf; *.ico"},
             {"All Files (*.*)", "*.*;"}},
            {}};
}

}  // namespace

VideoSourceMenu::VideoSourceMenu(QWidget* owner, const CaptureDeviceList& devices) : owner_(owner), devices_(devices) {}

void VideoSourceMenu::Build() {
    menu_.clear();
    bool listed = false;
    for (int i = 0; i < devices_.Count(); ++i) {
        const CaptureDeviceInfo* device = devices_.DeviceAt(i);
        if (!device || !device->devicePath || device->friendlyName == kVirtualCameraName) continue;
        const std::string& text = device->friendlyName ? *device->friendlyName : *device->devicePath;
        PopupMenu::AddCommand(menu_, QString::fromStdString(text), cmd::kFirstCaptureDevice + i)->setCheckable(true);
        listed = true;
    }
    if (listed) menu_.addSeparator();
    PopupMenu::AddCommand(menu_, "Video file...", cmd::kVideoFile)->setCheckable(true);
    PopupMenu::AddCommand(menu_, "Image file...", cmd::kImageFile)->setCheckable(true);
    PopupMenu::AddCommand(menu_, "Desktop", cmd::kDesktop)->setCheckable(true);
    SetCurrent(sourceId_);
}

bool VideoSourceMenu::InMenuRange(int command) const {
    return command >= cmd::kVideoFile && command < cmd::kFirstCaptureDevice + devices_.Count();
}

bool VideoSourceMenu::Choose(int command) {
    if (!InMenuRange(command)) return false;
    if (command == cmd::kImageFile) {
        if (!AskImageFile()) return false;
    } else if (command == cmd::kVideoFile) {
        if (!AskVideoFiles()) return false;
    } else if (command == sourceId_) {
        return false;
    }
    SetCurrent(command);
    return true;
}

bool VideoSourceMenu::AskImageFile() {
    imagePath_.reset();
    const QStringList files = FileChooser::Run(ImageChoice(owner_));
    if (files.isEmpty() || files.front().isEmpty()) return false;
    imagePath_ = files.front().toStdString();
    return true;
}

bool VideoSourceMenu::AskVideoFiles() {
    return PlaylistFiles::OpenFiles(playlist_, PlaylistFiles::FilterSet::kVideo, true, owner_) &&
           playlist_.Current().has_value();
}

void VideoSourceMenu::ClearSourceSelection() { SetCurrent(0); }

void VideoSourceMenu::SetCurrent(int command) {
    sourceId_ = command;
    for (QAction* item : menu_.actions()) {
        if (item->isCheckable()) item->setChecked(PopupMenu::CommandOf(item) == command);
    }
}

bool VideoSourceMenu::RestoreDevice() {
    const std::optional<std::string> path = GetLastSourceId();
    if (!path) return false;
    for (int i = 0; i < devices_.Count(); ++i) {
        const CaptureDeviceInfo* device = devices_.DeviceAt(i);
        if (device && device->devicePath == *path) {
            SetCurrent(cmd::kFirstCaptureDevice + i);
            return true;
        }
    }
    return false;
}

bool VideoSourceMenu::RestoreLastSource() {
    const int type = GetLastSourceType();
    switch (type) {
        case kSourceCaptureDevice: return RestoreDevice();
        case kSourceVideoFile: {
            playlist_.Clear();
            const std::optional<std::string> file = GetLastSourceId();
            if (!file || file->empty()) return false;
            playlist_.AddFile(*file);
            playlist_.Select(0);
            break;
        }
        case kSourceImageFile: {
            const std::optional<std::string> file = GetLastSourceId();
            if (!file) return false;
            imagePath_ = *file;
            break;
        }
        case kSourceDesktop: break;
        default: return false;
    }
    SetCurrent(type);
    return true;
}

std::string VideoSourceMenu::IdentifierText() const {
    if (sourceId_ == cmd::kVideoFile) return playlist_.Current().value_or("");
    if (sourceId_ == cmd::kImageFile) return imagePath_.value_or("");
    return "";
}

}  // namespace lumora
