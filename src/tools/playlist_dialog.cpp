#include "tools/playlist_dialog.h"

#include "platform/app_events.h"
#include "platform/message_box.h"
#include "tools/playlist_files.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

namespace lumora {

namespace {

constexpr char kClearQuestion[] = "Are you sure you want to remove all files from the playlist?";
const DialogTemplate kTemplate{"Video playlist", 335, 163};

}  // namespace

PlaylistDialog::PlaylistDialog(Playlist& playlist, QObject* reconnectTarget, QWidget* parent)
        : TemplateDialog(kTemplate, parent), playlist_(playlist), reconnectTarget_(reconnectTarget) {
    Place(new QGroupBox("Options", this), kNoId, {6, 0, 324, 140});
    list_ = Place(new QListWidget(this), kIdList, {12, 12, 240, 102});
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(list_, &QListWidget::itemSelectionChanged, this, &PlaylistDialog::RefreshButtons);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { PlayItem(SelectedRow()); });
    AddPushButton(kIdAdd, {258, 12, 66, 14}, "Add files...");
    AddPushButton(kIdDelete, {258, 30, 66, 14}, "Delete");
    AddPushButton(kIdUp, {258, 48, 30, 14}, "Up");
    AddPushButton(kIdDown, {294, 48, 30, 14}, "Down");
    AddPushButton(kIdPlay, {258, 66, 66, 14}, "Play selected");
    AddCheckBox(kIdRandom, {258, 84, 60, 12}, "Random order")->setChecked(playlist_.Random());
    AddPushButton(kIdClear, {12, 120, 66, 14}, "Clear playlist");
    AddPushButton(kIdOpen, {84, 120, 66, 14}, "Open playlist...");
    AddPushButton(kIdSave, {156, 120, 66, 14}, "Save playlist...");
    AddPushButton(kIdCancel, {279, 144, 50, 14}, "Close");
    Refill();
}

void PlaylistDialog::Refill() {
    const QSignalBlocker blocker(list_);
    list_->clear();
    for (int i = 0; i < playlist_.Count(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(playlist_.Entries()[static_cast<std::size_t>(i)]));
        item->setData(Qt::UserRole, i);
        list_->addItem(item);
    }
    list_->setCurrentRow(-1);
    list_->clearSelection();
    RefreshButtons();
}

int PlaylistDialog::SelectedRow() const {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.front());
}

void PlaylistDialog::RefreshButtons() {
    const int row = SelectedRow();
    Control(kIdDelete)->setEnabled(row >= 0);
    Control(kIdPlay)->setEnabled(row >= 0);
    Control(kIdUp)->setEnabled(row > 0);
    Control(kIdDown)->setEnabled(row >= 0 && row + 1 < list_->count());
}

void PlaylistDialog::OnCommand(int id) {
    switch (id) {
        case kIdAdd:
            if (PlaylistFiles::OpenFiles(playlist_, PlaylistFiles::FilterSet::kVideo, false, this)) Refill();
            break;
        case kIdOpen:
            if (PlaylistFiles::OpenFiles(playlist_, PlaylistFiles::FilterSet::kPlaylist, true, this)) Refill();
            break;
        case kIdSave:
            if (list_->count() > 0) PlaylistFiles::SaveAs(playlist_, this);
            break;
        case kIdClear: Clear(); break;
        case kIdDelete:
            playlist_.Remove(SelectedRow());
            Refill();
            break;
        case kIdUp: Swap(-1); break;
        case kIdDown: Swap(1); break;
        case kIdPlay: PlayItem(SelectedRow()); break;
        case kIdRandom: playlist_.SetRandom(Control<QCheckBox>(kIdRandom)->isChecked()); break;
        case kIdCancel: EndDialog(kIdCancel); break;
        default: break;
    }
}

void PlaylistDialog::Clear() {
    if (list_->count() > 0 && ShowMessage(this, kClearQuestion, mb::kYesNo | mb::kIconQuestion) != id::kYes) {
        return;
    }
    playlist_.Clear();
    Refill();
}

void PlaylistDialog::Swap(int offset) {
    const int row = SelectedRow();
    const int other = row + offset;
    if (row < 0 || other < 0 || other >= playlist_.Count()) return;
    playlist_.Swap(row, other);
    Refill();
    list_->setCurrentRow(other);
    RefreshButtons();
}

void PlaylistDialog::PlayItem(int index) {
    if (index < 0 || index >= playlist_.Count()) return;
    playlist_.Select(index);
    if (reconnectTarget_) {
        QCoreApplication::postEvent(reconnectTarget_, new QEvent(EventType(MSG_RECONNECT_SOURCE)));
    }
}

}  // namespace lumora
