#include "tools/recording_dialog.h"

#include "frames/recorded_bytes_counter.h"
#include "platform/message_box.h"
#include "tools/compressor_dialog.h"
#include "tools/file_chooser.h"
#include "tools/recording_texts.h"
#include "video/compressor_list.h"
#include "video/recording_folder.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSlider>

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace lumora {

namespace {

constexpr char kNoDestination[] = "Please specify destination file!";
constexpr char kNoLastFile[] = "There is no information about last recorded file.";
constexpr char kCannotPreview[] = "Couldn't preview file:\n%s";
constexpr char kRemoveQuestion[] = "Are you sure you want to remove this file:\n%s?";
constexpr int kMaxDestination = 255;

const DialogTemplate kTemplate{"Recording to file", 262, 150};

enum class Glyph { kPlay, kStop, kRecord, kDelete };

// The pictures of the four small buttons, drawn rather than loaded.
QIcon GlyphIcon(Glyph glyph) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    switch (glyph) {
        case Glyph::kPlay: {
            QPainterPath triangle;
            triangle.addPolygon(QPolygonF({QPointF(4, 3), QPointF(13, 8), QPointF(4, 13)}));
            painter.fillPath(triangle, QColor(0, 0x80, 0));
            break;
        }
        case Glyph::kStop: painter.fillRect(QRect(4, 4, 8, 8), Qt::black); break;
        case Glyph::kRecord:
            painter.setBrush(QColor(0xD0, 0, 0));
            painter.drawEllipse(QRectF(3.5, 3.5, 9, 9));
            break;
        case Glyph::kDelete:
            painter.setPen(QPen(QColor(0x80, 0, 0), 2));
            painter.drawLine(4, 4, 12, 12);
            painter.drawLine(12, 4, 4, 12);
            break;
    }
    return QIcon(pixmap);
}

std::string WithPath(const char* format, const std::string& path) {
    std::vector<char> text(std::char_traits<char>::length(format) + path.size() + 1);
    std::snprintf(text.data(), text.size(), format, path.c_str());
    return text.data();
}

}  // namespace

RecordingDialog::RecordingDialog(Parts parts, QWidget* parent)
        : TemplateDialog(kTemplate, parent), parts_(std::move(parts)) {
    setModal(false);
    PlaceControls();
    FillCompressors();
    timer_.setTimerType(Qt::PreciseTimer);  // whole seconds, never a tick early
    connect(&timer_, &QTimer::timeout, this, &RecordingDialog::Tick);
    connect(&playback_, &RecordingPlayback::frameReady, this, &RecordingDialog::ShowFrame);
    SetRecordingState(false);
}

void RecordingDialog::PlaceControls() {
    destination_ = Place(new QLineEdit(this), kIdDestination, {6, 18, 198, 12});
    destination_->setReadOnly(true);
    destination_->setMaxLength(kMaxDestination);
    AddPushButton(kIdBrowse, {210, 18, 48, 12}, "Browse...");
    compressors_ = Place(new QComboBox(this), kIdCompressor, {132, 48, 126, 12});
    PlaceBitmapButton(kIdPlay, {6, 132, 16, 14}, GlyphIcon(Glyph::kPlay));
    PlaceBitmapButton(kIdStop, {24, 132, 16, 14}, GlyphIcon(Glyph::kStop));
    position_ = Place(new QSlider(Qt::Horizontal, this), kIdPosition, {42, 133, 66, 12});
    connect(position_, &QSlider::sliderMoved, this, &RecordingDialog::Seek);
    connect(position_, &QSlider::actionTriggered, this, [this] { Seek(position_->sliderPosition()); });
    PlaceBitmapButton(kIdStart, {109, 132, 16, 14}, GlyphIcon(Glyph::kRecord));
    PlaceBitmapButton(kIdDelete, {127, 132, 16, 14}, GlyphIcon(Glyph::kDelete));
    AddLabel(kNoId, {6, 6, 51, 8}, "Destination file:");
    AddLabel(kNoId, {132, 36, 90, 8}, "Select compression codec:");
    status_ = AddLabel(kIdStatus, {6, 36, 120, 90}, "");
    status_->setAlignment(Qt::AlignCenter);
    status_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    status_->setStyleSheet("background-color: black; color: white;");
    AddLabel(kNoId, {132, 66, 45, 8}, "Time elapsed:");
    AddLabel(kIdElapsed, {132, 76, 72, 10}, "")->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    AddLabel(kNoId, {132, 90, 60, 8}, "Projected file size:");
    AddLabel(kIdSize, {132, 100, 72, 10}, "")->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    AddLabel(kNoId, {132, 114, 126, 18}, "The calculated time and file size can differ from the actual by 10-15%.")
        ->setWordWrap(true);
}

void RecordingDialog::PlaceBitmapButton(int id, const DialogRect& rect, const QIcon& icon) {
    QPushButton* button = AddPushButton(id, rect, "");
    button->setIcon(icon);
}

void RecordingDialog::FillCompressors() {
    const QSignalBlocker blocker(compressors_);
    compressors_->clear();
    compressors_->addItem("(No compression)", kNoCompression);
    parts_.compressors.EnumerateCompressors();
    for (int i = 0; i < parts_.compressors.Count(); ++i) {
        compressors_->addItem(QString::fromStdString(parts_.compressors.NameAt(i)), kNoCompression + 1 + i);
    }
    compressors_->setCurrentIndex(0);
    parts_.compressors.SetSelected(-1);
    connect(compressors_, &QComboBox::currentIndexChanged, this, &RecordingDialog::CompressorChosen,
            Qt::UniqueConnection);
}

void RecordingDialog::CompressorChosen(int index) {
    if (index < 0) return;
    parts_.compressors.SetSelected(index - 1);
    if (index >= 1) ShowCompressorDialog(parts_.compressors, index - 1, this);
}

void RecordingDialog::ShowDialog() {
    showNormal();
    raise();
    activateWindow();
}

void RecordingDialog::HideAndStop() {
    hide();
    if (recording_) {
        Stop();
    } else {
        StopPlayback();
        RefreshControls();
    }
}

void RecordingDialog::OnCommand(int id) {
    switch (id) {
        case kIdBrowse: Browse(); break;
        case kIdStart: Start(); break;
        case kIdStop: Stop(); break;
        case kIdPlay: Play(); break;
        case kIdDelete: Delete(); break;
        case kIdCancel: HideAndStop(); break;
        default: break;
    }
}

void RecordingDialog::SetRecordingState(bool recording) {
    recording_ = recording;
    timer_.stop();
    if (recording) {
        started_ = std::chrono::steady_clock::now();
        parts_.counter.Reset();
        if (parts_.recordingFileName) lastFile_ = parts_.recordingFileName();
        if (lastFile_ && lastFile_->empty()) lastFile_.reset();
        timer_.start(1000);
        status_->setText("Recording...");
    } else {
        status_->setText("");
    }
    RefreshControls();
}

std::string RecordingDialog::DestinationFile() const {
    return destination_->text().left(kMaxDestination).toStdString();
}

void RecordingDialog::SetDestinationFile(const std::string& file) {
    destination_->setText(QString::fromStdString(file));
}

void RecordingDialog::RefreshControls() {
    const bool playing = playback_.Playing();
    const bool known = lastFile_.has_value();
    Control(kIdBrowse)->setEnabled(!recording_);
    compressors_->setEnabled(!recording_);
    Control(kIdStop)->setEnabled(recording_ || playing);
    Control(kIdStart)->setEnabled(!recording_);
    position_->setValue(0);
    position_->setEnabled(playing);
    Control(kIdPlay)->setEnabled(!recording_ && known);
    Control(kIdDelete)->setEnabled(!recording_ && !playing && known);
}

void RecordingDialog::DisableAll() {
    for (int id : {kIdBrowse, kIdCompressor, kIdStop, kIdStart, kIdPlay, kIdPosition, kIdDelete}) {
        Control(id)->setEnabled(false);
    }
}

void RecordingDialog::Browse() {
    FileChoice choice{this,
                      FileChoice::Mode::kSave,
                      "Save...",
                      {{"AVI-files (*.avi)", "*.avi"}, {"All Files (*.*)", "*.*"}},
                      destination_->text()};
    if (choice.start.isEmpty()) choice.start = QString::fromStdString(NextRecordingFileName());
    const QStringList chosen = FileChooser::Run(choice);
    if (!chosen.isEmpty()) destination_->setText(chosen.front());
}

void RecordingDialog::Start() {
    if (destination_->text().isEmpty()) {
        ShowMessage(this, kNoDestination, mb::kIconInformation);
        return;
    }
    StopPlayback();
    if (parts_.postCommand) parts_.postCommand(2020);
    DisableAll();
}

void RecordingDialog::Stop() {
    if (recording_) {
        if (parts_.postCommand) parts_.postCommand(2021);
        DisableAll();
    } else if (playback_.Playing()) {
        StopPlayback();
        RefreshControls();
    }
}

void RecordingDialog::Play() {
    if (!lastFile_) {
        ShowMessage(this, kNoLastFile, mb::kIconInformation);
        return;
    }
    StopPlayback();
    if (!playback_.Play(*lastFile_)) {
        MessagePresenter::Instance().Present(this, WithPath(kCannotPreview, *lastFile_), mb::kIconWarning);
        return;
    }
    timer_.start(200);
    RefreshControls();
    position_->setRange(0, 100);
    position_->setValue(0);
}

void RecordingDialog::StopPlayback() {
    if (!playback_.Playing()) return;
    timer_.stop();
    playback_.Stop();
    status_->setPixmap(QPixmap());
    status_->setText("");
}

void RecordingDialog::Delete() {
    if (recording_ || playback_.Playing() || !lastFile_) return;
    if (ShowMessage(this, WithPath(kRemoveQuestion, *lastFile_).c_str(), mb::kYesNo | mb::kIconQuestion) != id::kYes) {
        return;
    }
    std::error_code error;
    std::filesystem::remove(*lastFile_, error);
    lastFile_.reset();
    RefreshControls();
}

void RecordingDialog::Tick() {
    if (recording_) {
        ShowRecordingFigures();
    } else if (playback_.Playing()) {
        FollowPlayback();
    }
}

void RecordingDialog::ShowRecordingFigures() {
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started_);
    Control<QLabel>(kIdElapsed)->setText(QString::fromStdString(ElapsedTimeText(elapsed.count())));
    Control<QLabel>(kIdSize)->setText(QString::fromStdString(RecordedSizeText(parts_.counter.Read())));
}

void RecordingDialog::FollowPlayback() {
    const std::optional<std::int64_t> duration = playback_.Duration();
    const std::optional<std::int64_t> current = playback_.Position();
    const bool ended = playback_.Ended();
    if (duration && current && !position_->isSliderDown()) {
        position_->setValue(static_cast<int>(std::min<std::int64_t>(100, *current * 100 / *duration)));
    }
    if (ended || (duration && current && *current * 100 / *duration >= 100)) {
        StopPlayback();
        RefreshControls();
    }
}

void RecordingDialog::Seek(int position) {
    const std::optional<std::int64_t> duration = playback_.Duration();
    if (!playback_.Playing() || !duration) return;
    playback_.Seek(position * *duration / 100);
}

void RecordingDialog::ShowFrame(const QImage& frame) {
    if (!playback_.Playing()) return;
    status_->setPixmap(QPixmap::fromImage(
        frame.scaled(status_->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

}  // namespace lumora
