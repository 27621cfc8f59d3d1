#include "tools/snapshot_manager.h"

#include "frames/frame_copy_event.h"
#include "platform/ascii_text.h"
#include "platform/message_box.h"
#include "platform/url_opener.h"
#include "tools/file_chooser.h"
#include "tools/thumbnail_grid.h"

#include <lumora/zimage.h>

#include <QCoreApplication>
#include <QDrag>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QUrl>

#include <filesystem>
#include <system_error>

namespace lumora {

namespace {

constexpr char kFolderTitle[] = "Please select folder where snapshots will be saved.";
constexpr char kBadChosenFolder[] = "Please specify correct folder!";
constexpr char kNoFolder[] = "Please specify snapshots folder!";
constexpr char kBadFolder[] = "Please specify correct snapshots folder!";
constexpr char kSaved[] = "Snapshots saved!";
constexpr char kCannotSave[] = "Couldn't save snapshot:\n";
constexpr char kDeleteQuestion[] = "Are you sure you want to delete all snapshots?";
constexpr char kUnsavedQuestion[] =
    "There are unsaved snapshots! Are you sure you want to close Snapshot Manager without saving images?";

const DialogTemplate kTemplate{"Snapshot manager", 307, 297};

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

SnapshotManager::SnapshotManager(QObject* frameSource, QWidget* parent)
        : TemplateDialog(kTemplate, parent), frameSource_(frameSource) {
    setModal(false);
    PlaceControls();
    timer_.setSingleShot(false);
    connect(&timer_, &QTimer::timeout, this, &SnapshotManager::TimerTick);
    SetTimerMode(TimerMode::kOff);
    folder_->setText(QString::fromStdString(SnapshotAlbum::DefaultFolder()));
}

SnapshotManager::~SnapshotManager() = default;

void SnapshotManager::PlaceControls() {
    Place(new QGroupBox("Snapshots", this), kNoId, {6, 0, 295, 177});
    Place(new QGroupBox("Time interval snapshots", this), kNoId, {6, 183, 295, 48});
    Place(new QGroupBox("Save options", this), kNoId, {6, 237, 295, 33});
    const QRect gridRect = units().ToPixels(DialogRect{12, 12, 283, 138});
    grid_ = new ThumbnailGrid(QSize(SnapshotAlbum::kThumbnailWidth, SnapshotAlbum::kThumbnailHeight), 6, this);
    grid_->setObjectName(QString::number(kIdGrid));
    grid_->setGeometry(gridRect);
    connect(grid_, &ThumbnailGrid::dragStarted, this, &SnapshotManager::StartDrag);
    connect(grid_, &ThumbnailGrid::doubleClicked, this, &SnapshotManager::OpenInViewer);
    AddPushButton(kIdTakeSnapshot, {12, 156, 66, 14}, "Take snapshot");
    AddPushButton(kIdDeleteAll, {245, 156, 50, 14}, "Delete all");
    AddPushButton(kIdDelayed, {12, 195, 138, 14}, "Snapshot with 5 sec delay");
    AddPushButton(kIdNonStop, {157, 195, 138, 14}, "Non-stop snapshots with 125 sec interval");
    interval_ = Place(new QSlider(Qt::Horizontal, this), kIdInterval, {72, 213, 223, 12});
    interval_->setRange(1, 120);
    interval_->setValue(5);
    connect(interval_, &QSlider::valueChanged, this, [this] { SetTimerMode(mode_); });
    AddLabel(kNoId, {12, 213, 54, 12}, "Time interval:");
    folder_ = Place(new QLineEdit(this), kIdFolder, {72, 250, 168, 14});
    AddPushButton(kIdBrowse, {245, 249, 50, 14}, "Browse...");
    AddLabel(kNoId, {12, 250, 60, 14}, "Snapshots folder:");
    AddPushButton(kIdSaveAll, {195, 276, 50, 14}, "Save all");
    AddPushButton(kIdCancel, {251, 276, 50, 14}, "Close");
}

void SnapshotManager::Toggle() {
    if (isVisible()) {
        SetTimerMode(TimerMode::kOff);
        hide();
        return;
    }
    album_.ResetNumbering();
    SetTimerMode(TimerMode::kOff);
    show();
    raise();
    activateWindow();
}

void SnapshotManager::OnCommand(int id) {
    switch (id) {
        case kIdTakeSnapshot: TakeSnapshot(); break;
        case kIdSaveAll: SaveAll(); break;
        case kIdDeleteAll: DeleteAll(); break;
        case kIdBrowse: Browse(); break;
        case kIdDelayed: ToggleTimerMode(TimerMode::kDelayed); break;
        case kIdNonStop: ToggleTimerMode(TimerMode::kNonStop); break;
        case kIdCancel: Close(); break;
        default: break;  // Enter does nothing
    }
}

void SnapshotManager::TakeSnapshot() {
    FrameCopy copy;
    FrameCopyEvent request(&copy);
    if (frameSource_) QCoreApplication::sendEvent(frameSource_, &request);
    const std::optional<int> index = album_.Add(std::move(copy));
    if (!index) return;
    const Snapshot& snapshot = album_.At(*index);
    grid_->AddItem({snapshot.thumbnail, QString("%1x%2").arg(snapshot.frame.width).arg(snapshot.frame.height), *index});
}

void SnapshotManager::SetTimerMode(TimerMode mode) {
    timer_.stop();
    mode_ = mode;
    interval_->setEnabled(mode == TimerMode::kOff);
    auto* delayed = Control<QPushButton>(kIdDelayed);
    auto* nonStop = Control<QPushButton>(kIdNonStop);
    delayed->setEnabled(mode != TimerMode::kNonStop);
    nonStop->setEnabled(mode != TimerMode::kDelayed);
    const int seconds = interval_->value();
    delayed->setText(mode == TimerMode::kDelayed ? "Stop" : QString("Snapshot with %1 sec delay").arg(seconds));
    nonStop->setText(mode == TimerMode::kNonStop ? "Stop"
                                                 : QString("Non-stop snapshots with %1 sec interval").arg(seconds));
    if (mode != TimerMode::kOff) timer_.start(seconds * 1000);
}

void SnapshotManager::ToggleTimerMode(TimerMode mode) { SetTimerMode(mode_ == mode ? TimerMode::kOff : mode); }

void SnapshotManager::TimerTick() {
    const TimerMode mode = mode_;
    TakeSnapshot();
    if (mode == TimerMode::kDelayed) SetTimerMode(TimerMode::kOff);
}

void SnapshotManager::Browse() {
    const QStringList chosen = FileChooser::Run({this, FileChoice::Mode::kFolder, kFolderTitle, {}, folder_->text()});
    if (chosen.isEmpty()) return;
    const std::string folder(TrimBlanks(chosen.front().toStdString()));
    if (folder.empty()) {
        ShowMessage(this, kBadChosenFolder, mb::kIconInformation);
        return;
    }
    folder_->setText(QString::fromStdString(WithSlash(folder)));
}

void SnapshotManager::SaveAll() {
    const std::string folder = WithSlash(std::string(TrimBlanks(folder_->text().toStdString())));
    if (folder.empty()) {
        ShowMessage(this, kNoFolder, mb::kIconInformation);
        return;
    }
    std::error_code error;
    if (folder == SnapshotAlbum::DefaultFolder()) std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        ShowMessage(this, kBadFolder, mb::kIconWarning);
        return;
    }
    const SnapshotAlbum::SaveResult saved = album_.SaveAll(folder);
    if (!saved.failed.empty()) {
        const std::string text = kCannotSave + saved.failed.string();
        ShowMessage(this, text.c_str(), mb::kIconWarning);
    } else if (saved.written > 0) {
        ShowMessage(this, kSaved, mb::kIconInformation);
    }
}

int SnapshotManager::Ask(const char* text) { return ShowMessage(this, text, mb::kYesNo | mb::kIconQuestion); }

void SnapshotManager::DeleteAll() {
    if (album_.Count() > 0 && Ask(kDeleteQuestion) != id::kYes) return;
    album_.Clear();
    grid_->Clear();
}

void SnapshotManager::Close() {
    SetTimerMode(TimerMode::kOff);
    if (album_.HasUnsaved() && Ask(kUnsavedQuestion) != id::kYes) return;
    album_.Clear();
    grid_->Clear();
    hide();
}

QString SnapshotManager::ExportFile(int index) {
    if (index < 0 || index >= album_.Count()) return {};
    const Snapshot& snapshot = album_.At(index);
    std::error_code error;
    if (snapshot.saved && std::filesystem::is_regular_file(snapshot.file, error)) {
        return QString::fromStdString(snapshot.file.string());
    }
    if (!exportFolder_) exportFolder_ = std::make_unique<QTemporaryDir>();
    if (!exportFolder_->isValid()) return {};
    const QString file = exportFolder_->filePath(QString("snapshot-%1.jpg").arg(index + 1));
    const FrameCopy& frame = snapshot.frame;
    if (!ZImage_SaveJpeg2(file.toLocal8Bit().constData(), frame.pixels.get(), frame.width, frame.height)) return {};
    return file;
}

void SnapshotManager::StartDrag(int index) {
    const QString file = ExportFile(index);
    if (file.isEmpty()) return;
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(file)});
    auto* drag = new QDrag(grid_);
    drag->setMimeData(data);
    const QImage& thumbnail = album_.At(index).thumbnail;
    if (!thumbnail.isNull()) drag->setPixmap(QPixmap::fromImage(thumbnail));
    drag->exec(Qt::CopyAction);
}

void SnapshotManager::OpenInViewer(int index) {
    const QString file = ExportFile(index);
    if (!file.isEmpty()) UrlOpener::Instance().Open(QUrl::fromLocalFile(file).toString().toStdString());
}

}  // namespace lumora
