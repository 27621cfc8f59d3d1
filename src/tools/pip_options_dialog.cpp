#include "tools/pip_options_dialog.h"

#include "effects/camera_catalogue.h"
#include "platform/message_box.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace lumora {

namespace {

constexpr char kNoDeviceText[] = "You should select video source device!";

// Dialog units to pixels the way the dialog's font measures them: a horizontal
// unit is a quarter of the font's average character width, a vertical one an eighth of
// its height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        const int alphabet = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        baseX_ = (alphabet / 26 + 1) / 2;
        baseY_ = metrics.height();
    }
    QRect Rect(int x, int y, int width, int height) const {
        return {x * baseX_ / 4, y * baseY_ / 8, width * baseX_ / 4, height * baseY_ / 8};
    }

private:
    int baseX_;
    int baseY_;
};

QColor ToQColor(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

std::uint32_t FromQColor(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) | static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

template <class Widget>
Widget* Place(Widget* widget, int id, const QRect& rect) {
    if (id != 0) widget->setObjectName(QString::number(id));
    widget->setGeometry(rect);
    return widget;
}

}  // namespace

PipOptionsDialog::PipOptionsDialog(const CameraCatalogue* cameras, const PipSettings& settings,
                                   const PipCustomColours& colours, QWidget* parent)
        : QDialog(parent), settings_(settings), customColours_(colours), borderColour_(settings.borderColour) {
    setWindowTitle("Picture-in-picture options");
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    const DialogUnits du(dialogFont);
    setFixedSize(du.Rect(0, 0, 202, 141).size());

    // A drop-down list's layout height includes its open list; closed it is one line.
    const auto dropDown = [&](int id, int x, int y) {
        auto* box = new QComboBox(this);
        const QRect rect = du.Rect(x, y, 132, 12);
        return Place(box, id, QRect(rect.topLeft(), QSize(rect.width(), box->sizeHint().height())));
    };
    const auto trackBar = [&](int id, int x, int y, int low, int high, int value) {
        auto* slider = Place(new QSlider(Qt::Horizontal, this), id, du.Rect(x, y, 132, 12));
        slider->setTickPosition(QSlider::NoTicks);
        slider->setRange(low, high);
        slider->setValue(value);
        return slider;
    };

    Place(new QLabel("Video source:", this), 0, du.Rect(6, 6, 44, 12));
    device_ = dropDown(kIdDevice, 66, 6);
    for (int i = 0; cameras && i < cameras->CameraCount(); ++i) {
        const std::optional<std::string> name = cameras->CameraName(i);
        if (!name) continue;
        device_->addItem(QString::fromStdString(*name), i);
        if (i == settings.deviceIndex) device_->setCurrentIndex(device_->count() - 1);
    }
    if (device_->findData(settings.deviceIndex) < 0) device_->setCurrentIndex(-1);

    Place(new QLabel("Window position:", this), 0, du.Rect(6, 24, 60, 12));
    position_ = dropDown(kIdPosition, 66, 24);
    position_->addItem("Top-left", kPipTopLeft);
    position_->addItem("Top-right", kPipTopRight);
    position_->addItem("Bottom-left", kPipBottomLeft);
    position_->addItem("Bottom-right", kPipBottomRight);
    position_->setCurrentIndex(position_->findData(settings.position));

    Place(new QLabel("Margin:", this), 0, du.Rect(6, 42, 44, 12));
    margin_ = trackBar(kIdMargin, 66, 42, PipSettings::kMinMargin, PipSettings::kMaxMargin, settings.margin);
    Place(new QLabel("Window size:", this), 0, du.Rect(6, 60, 44, 12));
    size_ = trackBar(kIdSize, 66, 60, PipSettings::kMinSize, PipSettings::kMaxSize, settings.size);

    proportions_ =
        Place(new QCheckBox("Maintain source video proportions", this), kIdProportions, du.Rect(6, 78, 192, 14));
    proportions_->setChecked(settings.maintainProportions);
    drawBorder_ = Place(new QCheckBox("Draw window border", this), kIdDrawBorder, du.Rect(6, 96, 82, 14));
    drawBorder_->setChecked(settings.drawBorder);
    swatch_ = Place(new QLabel(this), kIdSwatch, du.Rect(90, 96, 36, 14));
    swatch_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    swatch_->setAutoFillBackground(true);
    PaintSwatch();
    auto* selectColour = Place(new QPushButton("Select color...", this), kIdSelectColour, du.Rect(132, 96, 66, 14));
    connect(selectColour, &QPushButton::clicked, this, &PipOptionsDialog::SelectColour);

    auto* ok = Place(new QPushButton("OK", this), kIdOk, du.Rect(45, 120, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &PipOptionsDialog::Accept);
    auto* cancel = Place(new QPushButton("Cancel", this), kIdCancel, du.Rect(105, 120, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PipOptionsDialog::Accept() {
    const int device = device_->currentIndex() < 0 ? -1 : device_->currentData().toInt();
    if (device < 0) {
        ShowMessage(this, kNoDeviceText, mb::kIconInformation);
        return;
    }
    settings_.deviceIndex = device;
    settings_.position = position_->currentIndex() < 0 ? -1 : position_->currentData().toInt();
    settings_.margin = margin_->value();
    settings_.size = size_->value();
    settings_.maintainProportions = proportions_->isChecked();
    settings_.drawBorder = drawBorder_->isChecked();
    settings_.borderColour = borderColour_;
    accept();
}

void PipOptionsDialog::SelectColour() {
    QColorDialog chooser(ToQColor(borderColour_), this);
    for (int i = 0; i < static_cast<int>(customColours_.size()); ++i) {
        QColorDialog::setCustomColor(i, QColor::fromRgb(customColours_[static_cast<std::size_t>(i)]));
    }
    const bool chosen = chooser.exec() == QDialog::Accepted;
    for (int i = 0; i < static_cast<int>(customColours_.size()); ++i) {
        customColours_[static_cast<std::size_t>(i)] = QColorDialog::customColor(i).rgb();
    }
    if (!chosen) return;
    borderColour_ = FromQColor(chooser.selectedColor());
    PaintSwatch();
}

void PipOptionsDialog::PaintSwatch() {
    QPalette palette = swatch_->palette();
    palette.setColor(QPalette::Window, ToQColor(borderColour_));
    swatch_->setPalette(palette);
    swatch_->update();
}

}  // namespace lumora
