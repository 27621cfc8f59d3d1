#include "tools/pin_format_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace lumora {

PinFormatDialog::PinFormatDialog(const PinFormatList& formats, int current, QWidget* parent)
        : QDialog(parent), list_(new QListWidget) {
    setWindowTitle(tr("Video capture pin"));
    list_->setObjectName("formats");
    for (const PinFormatList::Entry& entry : formats.Entries())
        list_->addItem(QString::fromStdString(entry.description));
    Choose(current);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

int PinFormatDialog::Chosen() const { return list_->currentRow(); }

void PinFormatDialog::Choose(int index) {
    if (index >= 0 && index < list_->count()) list_->setCurrentRow(index);
}

}  // namespace lumora
