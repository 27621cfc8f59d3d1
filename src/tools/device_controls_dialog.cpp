#include "tools/device_controls_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace lumora {

DeviceControlsDialog::DeviceControlsDialog(DeviceControls& controls, QWidget* parent)
        : QDialog(parent), controls_(controls) {
    setWindowTitle(tr("Video capture filter"));
    auto* form = new QFormLayout;
    for (const DeviceControl& control : controls_.Controls()) {
        QWidget* editor = MakeEditor(control);
        editor->setObjectName(QString("control-%1").arg(control.id));
        form->addRow(QString::fromStdString(control.name), editor);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QWidget* DeviceControlsDialog::MakeEditor(const DeviceControl& control) {
    const std::uint32_t id = control.id;
    switch (control.type) {
        case DeviceControl::Type::kBoolean: {
            auto* check = new QCheckBox;
            check->setChecked(control.value != 0);
            connect(check, &QCheckBox::toggled, this, [this, id](bool on) { controls_.Set(id, on ? 1 : 0); });
            return check;
        }
        case DeviceControl::Type::kMenu: {
            auto* box = new QComboBox;
            for (const auto& [value, label] : control.menu) {
                box->addItem(QString::fromStdString(label), value);
                if (value == control.value) box->setCurrentIndex(box->count() - 1);
            }
            connect(box, &QComboBox::activated, this,
                    [this, id, box](int index) { controls_.Set(id, box->itemData(index).toInt()); });
            return box;
        }
        case DeviceControl::Type::kButton: {
            auto* button = new QPushButton(QString::fromStdString(control.name));
            connect(button, &QPushButton::clicked, this, [this, id] { controls_.Set(id, 1); });
            return button;
        }
        case DeviceControl::Type::kInteger:
        default: {
            auto* slider = new QSlider(Qt::Horizontal);
            slider->setRange(control.minimum, control.maximum);
            slider->setSingleStep(control.step);
            slider->setValue(control.value);
            connect(slider, &QSlider::valueChanged, this, [this, id](int value) { controls_.Set(id, value); });
            return slider;
        }
    }
}

}  // namespace lumora
