// VideoSourceMenu: the Video source button's menu and the current source. Built once
// from the capture device list:
//
//   <device name> (1003 + its index)   every device with a path, except "Lumora Capture"
//   ---------                          when at least one device is listed
//   Video file... (1000)  Image file... (1002)  Desktop (1001)
//
// The current source carries the check mark. The menu also holds what the file sources
// play: the picture chosen with "Image file..." and the playlist of "Video file...".
//
// Choosing: ids outside the menu are ignored; the current source again does nothing,
// except the two file items, which always ask again. "Image file..." forgets the previous
// picture and asks for one ("Open Image File..."); "Video file..." asks for video files
// ("Open File...", several at once, .pls files read as playlists) and replaces the
// playlist. Cancelling ends the choice without changing the source.
//
// Thread: user-interface thread. The device list is borrowed and outlives the menu.
#pragma once

#include "tools/playlist.h"
#include "video/capture_device_list.h"

#include <QMenu>
#include <QWidget>

#include <optional>
#include <string>

namespace lumora {

class VideoSourceMenu {
public:
    VideoSourceMenu(QWidget* owner, const CaptureDeviceList& devices);

    // (Re)builds the items from the device list.
    void Build();

    // A menu choice; true when `command` is now the current source and wants connecting.
    bool Choose(int command);
    // No source: every check mark off, SourceId 0.
    void ClearSourceSelection();
    // The remembered source, when remembering is on and it is still there; true when one
    // was restored (it is then the current source, not yet connected).
    bool RestoreLastSource();

    int SourceId() const { return sourceId_; }
    const std::optional<std::string>& ImagePath() const { return imagePath_; }
    Playlist& Videos() { return playlist_; }
    // What identifies the current source when it is remembered: the playlist's current
    // file, the picture, or "".
    std::string IdentifierText() const;

    QMenu& Menu() { return menu_; }

private:
    bool InMenuRange(int command) const;
    bool AskImageFile();
    bool AskVideoFiles();
    bool RestoreDevice();
    void SetCurrent(int command);

    QWidget* owner_;
    const CaptureDeviceList& devices_;
    QMenu menu_;
    std::optional<std::string> imagePath_;
    Playlist playlist_;
    int sourceId_ = 0;
};

}  // namespace lumora
