// SnapshotManager: "Snapshot manager", the modeless dialog in which the user takes still
// pictures of the processed video — exactly the frame that goes to the virtual camera —
// sees them as thumbnails and saves them as numbered JPEG files (SnapshotAlbum).
//
//   Take snapshot          asks the frame source for a copy (MSG_GET_FRAME_COPY, sent);
//                          without a frame nothing happens
//   Snapshot with N sec delay / Non-stop snapshots with N sec interval
//                          one snapshot after N seconds, or one every N seconds, N from the
//                          trackbar (1 ... 120, 5 at first); the running button reads "Stop",
//                          the other one and the trackbar are disabled meanwhile
//   Delete all             after a question, when there are snapshots
//   Browse...              a folder chooser; the folder goes into the folder line
//   Save all               into the folder of the line (blanks trimmed). The default folder
//                          ($XDG_PICTURES_DIR/Lumora/) is made when missing; any other one
//                          must exist. A file that cannot be written stops the saving with
//                          "Couldn't save snapshot:\n<file>"; what is not written stays unsaved
//   Close, Esc             stops the timer; unsaved snapshots ask first, and any answer but
//                          Yes keeps the dialog; then the snapshots are freed
//
// Toggle (the File menu's "Photos...") shows the dialog with the numbering from 0, or
// hides a shown one at once; snapshots held then are kept and shown again next time.
// A thumbnail dragged out is a JPEG file (its saved file, or a copy in a folder of the
// manager's own); a double click opens that file in the desktop's image viewer.
//
// Every message is owned by the dialog and captioned "Lumora".
//
// Thread: user-interface thread. Lifetime: the frame source (the main window) is borrowed
// and must outlive the dialog.
#pragma once

#include "platform/template_dialog.h"
#include "tools/snapshot_album.h"

#include <QTimer>

#include <memory>

class QLineEdit;
class QSlider;
class QTemporaryDir;

namespace lumora {

class ThumbnailGrid;

class SnapshotManager : public TemplateDialog {
    Q_OBJECT
public:
    enum : int {
        kIdPlaceholder = 1032,
        kIdTakeSnapshot = 1033,
        kIdFolder = 1035,
        kIdBrowse = 1036,
        kIdSaveAll = 1037,
        kIdDelayed = 1039,
        kIdInterval = 1040,
        kIdNonStop = 1041,
        kIdDeleteAll = 1042,
        kIdGrid = 8005,
    };
    enum class TimerMode { kOff = 0, kDelayed = 1, kNonStop = 2 };

    SnapshotManager(QObject* frameSource, QWidget* parent);
    ~SnapshotManager() override;

    // "Photos...": shows the dialog afresh, or hides it when it is shown.
    void Toggle();

    void TakeSnapshot();
    const SnapshotAlbum& Album() const { return album_; }
    const ThumbnailGrid& Grid() const { return *grid_; }
    TimerMode Mode() const { return mode_; }

    // The JPEG file of snapshot `index` for other programs: its saved file, or a copy
    // written now. Empty when it cannot be written.
    QString ExportFile(int index);

protected:
    void OnCommand(int id) override;

private:
    void PlaceControls();
    void SetTimerMode(TimerMode mode);
    void ToggleTimerMode(TimerMode mode);
    void TimerTick();
    void Browse();
    void SaveAll();
    void DeleteAll();
    void Close();
    void StartDrag(int index);
    void OpenInViewer(int index);
    int Ask(const char* text);

    QObject* frameSource_;
    SnapshotAlbum album_;
    ThumbnailGrid* grid_ = nullptr;
    QSlider* interval_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QTimer timer_;
    TimerMode mode_ = TimerMode::kOff;
    std::unique_ptr<QTemporaryDir> exportFolder_;
};

}  // namespace lumora
