// PlaylistDialog: "Video playlist", the modal dialog in which the user edits the playlist
// of the "Video file..." source: add files (several at once, .pls files expanded), delete,
// move up and down, play the selected file (it becomes the current entry and the main
// window is asked to connect the source again, MSG_RECONNECT_SOURCE, while the dialog stays
// open; a double click does the same), random order, clear (after a question), open and
// save .pls files. Delete, Up, Down and Play selected need a selected item; Up is disabled
// on the first, Down on the last; Save playlist... does nothing while the list is empty.
//
// Thread: user-interface thread. Lifetime: the playlist and the reconnect target (the main
// window, may be null) are borrowed and must outlive the dialog.
#pragma once

#include "platform/template_dialog.h"
#include "tools/playlist.h"

class QListWidget;

namespace lumora {

class PlaylistDialog : public TemplateDialog {
    Q_OBJECT
public:
    enum : int {
        kIdList = 1032,
        kIdSave = 1034,
        kIdDelete = 1038,
        kIdClear = 1043,
        kIdOpen = 1044,
        kIdAdd = 1047,
        kIdPlay = 1048,
        kIdRandom = 1049,
        kIdUp = 1051,
        kIdDown = 1052,
    };

    PlaylistDialog(Playlist& playlist, QObject* reconnectTarget, QWidget* parent);

    // Selects entry `index` and asks the main window to play it; invalid indices do nothing.
    void PlayItem(int index);

protected:
    void OnCommand(int id) override;

private:
    void Refill();
    void RefreshButtons();
    void Swap(int offset);
    void Clear();
    int SelectedRow() const;

    Playlist& playlist_;
    QObject* reconnectTarget_;
    QListWidget* list_;
};

}  // namespace lumora
