// PlaylistFiles: how the user fills a Playlist from the file dialogs. OpenFiles asks for
// one or several files ("Open File...") with the video or the playlist filter set; the
// chosen files are taken in the order the dialog gives them, each .pls file expanded in
// place into its entries, optionally replacing the list, and entry 0 becomes the current
// one. SaveAs asks for a file name ("Save Playlist...") and writes the list as .pls.
//
// Thread: user-interface thread.
#pragma once

#include "tools/playlist.h"

#include <QStringList>
#include <QWidget>

namespace lumora {

class PlaylistFiles {
public:
    enum class FilterSet { kVideo, kPlaylist };

    // True when the user picked something.
    static bool OpenFiles(Playlist& playlist, FilterSet filters, bool replace, QWidget* owner);
    // The chosen files as OpenFiles takes them; true when there was at least one.
    static bool AddChosen(Playlist& playlist, const QStringList& files, bool replace);
    // True when a file was chosen and written.
    static bool SaveAs(const Playlist& playlist, QWidget* owner);
};

}  // namespace lumora
