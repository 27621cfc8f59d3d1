#include "tools/desktop_options_dialog.h"

#include "platform/message_presenter.h"
#include "tools/desktop_rect_picker.h"
#include "tools/source_output_tables.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScreen>

namespace lumora {

namespace {

constexpr char kOutsideDesktop[] = "Incorrect rectangle values! Rectangle must be within visible desktop area.";
constexpr char kTooSmall[] = "Incorrect rectangle values! Rectangle must be at least 10x10 pixels.";
constexpr int kMinimumSide = 10;

QSize PrimaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(640, 480);
}

}  // namespace

DesktopOptionsDialog::DesktopOptionsDialog(int width, int height, int framesPerSecond, const ZImageRect& rect,
                                           QWidget* parent, QSize screen)
        : TemplateDialog({"Video source options", 184, 236}, parent),
          screen_(screen.isEmpty() ? PrimaryScreenSize() : screen),
          width_(width),
          height_(height),
          rate_(framesPerSecond),
          rect_(rect) {
    AddLabel(kNoId, {6, 6, 60, 12}, "Output resolution:");
    AddLabel(kNoId, {6, 24, 62, 12}, "Output frame rate:");
    sizes_ = Place(new QComboBox(this), kIdSizes, {96, 6, 84, 12});
    rates_ = Place(new QComboBox(this), kIdRates, {96, 24, 84, 12});
    FillOutputLists(*sizes_, *rates_, width, height, framesPerSecond);
    Place(new QGroupBox("Desktop rectangle to capture", this), kNoId, {6, 42, 174, 168});
    AddLabel(kNoId, {12, 54, 78, 12}, "X, Y (upper-left corner):");
    AddNumberEdit(kIdX, {96, 54, 36, 12});
    AddNumberEdit(kIdY, {138, 54, 36, 12});
    AddLabel(kNoId, {12, 73, 78, 12}, "Width / height:");
    AddNumberEdit(kIdWidth, {96, 73, 36, 12});
    AddNumberEdit(kIdHeight, {138, 73, 36, 12});
    AddNote({12, 90, 162, 18}, "You can select capture rectangle by mouse or specify parameters directly. ");
    AddNote({12, 114, 162, 43},
            "Click \"Select rectangle...\" button and then select required portion of the desktop (pressing left "
            "mouse button and dragging cursor over desktop).\nPress \"Esc\", \"Space\" or right mouse button to exit "
            "from selection mode.");
    AddNote({12, 162, 162, 27},
            "Is is highly recommended to specify rectangle width and height equal to resolution to avoid image "
            "deformations.");
    AddPushButton(kIdSelect, {96, 192, 78, 14}, "Select rectangle...");
    AddDefaultPushButton(kIdOk, {39, 216, 45, 14}, "OK");
    AddPushButton(kIdCancel, {99, 216, 45, 14}, "Cancel");
    ShowRect();
}

void DesktopOptionsDialog::AddNote(const DialogRect& rect, const QString& text) {
    QLabel* note = AddLabel(kNoId, rect, text);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QLineEdit* DesktopOptionsDialog::AddNumberEdit(int id, const DialogRect& rect) {
    auto* edit = Place(new QLineEdit(this), id, rect);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,9}"), edit));
    return edit;
}

void DesktopOptionsDialog::ShowRect() {
    Control<QLineEdit>(kIdX)->setText(QString::number(rect_.left));
    Control<QLineEdit>(kIdY)->setText(QString::number(rect_.top));
    Control<QLineEdit>(kIdWidth)->setText(QString::number(rect_.right - rect_.left));
    Control<QLineEdit>(kIdHeight)->setText(QString::number(rect_.bottom - rect_.top));
}

std::optional<unsigned> DesktopOptionsDialog::Field(int id) const {
    bool read = false;
    const unsigned value = Control<QLineEdit>(id)->text().toUInt(&read);
    return read ? std::optional<unsigned>(value) : std::nullopt;
}

void DesktopOptionsDialog::OnCommand(int id) {
    switch (id) {
        case kIdOk: Accept(); break;
        case kIdCancel: EndDialog(kIdCancel); break;
        case kIdSelect: StartPicker(); break;
        default: break;
    }
}

void DesktopOptionsDialog::Accept() {
    if (sizes_->currentIndex() < 0 || rates_->currentIndex() < 0) return;
    const auto w = static_cast<unsigned>(screen_.width());
    const auto h = static_cast<unsigned>(screen_.height());
    const std::optional<unsigned> x = Field(kIdX);
    const std::optional<unsigned> y = Field(kIdY);
    const std::optional<unsigned> width = Field(kIdWidth);
    const std::optional<unsigned> height = Field(kIdHeight);
    const auto refuse = [this](const char* text) {
        MessagePresenter::Instance().Present(this, text, mb::kIconInformation);
    };
    if (!x || *x + kMinimumSide > w || !y || *y + kMinimumSide > h) return refuse(kOutsideDesktop);
    if (!width || *width < kMinimumSide || *width > w || !height || *height < kMinimumSide || *height > h) {
        return refuse(kTooSmall);
    }
    const OutputSize& size = kOutputSizes[static_cast<std::size_t>(sizes_->currentIndex())];
    width_ = size.width;
    height_ = size.height;
    rate_ = kOutputRates[static_cast<std::size_t>(rates_->currentIndex())];
    rect_ = {static_cast<int>(*x), static_cast<int>(*y), static_cast<int>(*x + *width), static_cast<int>(*y + *height)};
    EndDialog(kIdOk);
}

void DesktopOptionsDialog::StartPicker() {
    if (picker_) return;
    picker_ = new DesktopRectPicker({rect_.left, rect_.top, rect_.right, rect_.bottom}, this);
    connect(picker_, &DesktopRectPicker::picked, this, [this](const DesktopRectPicker::Band& band) {
        rect_ = {band.left, band.top, band.right, band.bottom};
        ShowRect();
    });
    picker_->Start();
}

}  // namespace lumora
