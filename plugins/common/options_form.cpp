#include "common/options_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lumora::plugins {

OptionsForm::OptionsForm(void* ownerWindow, const char* title)
    : dialog_(static_cast<QWidget*>(ownerWindow)), form_(new QFormLayout) {
    dialog_.setWindowTitle(QString::fromUtf8(title));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog_, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog_, &QDialog::reject);
    auto* column = new QVBoxLayout(&dialog_);
    column->addLayout(form_);
    column->addWidget(buttons);
}

OptionsForm::~OptionsForm() = default;

QSpinBox* OptionsForm::AddNumber(const char* label, std::int32_t minimum, std::int32_t maximum,
                                 std::int32_t value) {
    auto* box = new QSpinBox;
    box->setRange(minimum, maximum);
    box->setValue(value);
    form_->addRow(QString::fromUtf8(label), box);
    return box;
}

QComboBox* OptionsForm::AddChoice(const char* label, const QStringList& choices, std::int32_t current) {
    auto* box = new QComboBox;
    box->addItems(choices);
    box->setCurrentIndex(current);
    form_->addRow(QString::fromUtf8(label), box);
    return box;
}

QCheckBox* OptionsForm::AddSwitch(const char* label, bool on) {
    auto* box = new QCheckBox(QString::fromUtf8(label));
    box->setChecked(on);
    form_->addRow(box);
    return box;
}

bool OptionsForm::Run() { return dialog_.exec() == QDialog::Accepted; }

}  // namespace lumora::plugins
