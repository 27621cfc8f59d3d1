#include "platform/template_dialog.h"

#include "platform/label_fitter.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace lumora {

TemplateDialog::TemplateDialog(const DialogTemplate& layout, QWidget* parent) : QDialog(parent), units_(1, 1) {
    setWindowTitle(layout.title);
    // Set before any control exists, so every control inherits it.
    setFont(TemplateFont(layout.fontFace, layout.pointSize));
    units_ = DialogUnits::ForFont(font());
    setFixedSize(units_.ToPixels(layout.width, layout.height));
}

void TemplateDialog::reject() { OnCommand(kIdCancel); }

void TemplateDialog::showEvent(QShowEvent* event) {
    if (!labelsFitted_) {
        labelsFitted_ = true;
        FitLabels();
    }
    QDialog::showEvent(event);
}

// Plain text labels only: framed ones are display fields, sized for what they will show.
void TemplateDialog::FitLabels() {
    const QList<QWidget*> children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        auto* label = qobject_cast<QLabel*>(child);
        if (!label || label->isHidden() || label->text().isEmpty() || label->frameShape() != QFrame::NoFrame) continue;
        std::vector<QRect> others;
        for (QWidget* other : children) {
            if (other != label && !other->isHidden()) others.push_back(other->geometry());
        }
        const LabelFitter fitter(rect(), std::move(others));
        if (!label->wordWrap()) {
            label->setGeometry(fitter.FitLine(label->geometry(), label->sizeHint().width()));
            continue;
        }
        const int lineWidth = label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin() + 2;
        label->setGeometry(fitter.FitWrapped(label->geometry(), lineWidth,
                                             [label](int width) { return label->heightForWidth(width); }));
    }
}

void TemplateDialog::OnCommand(int id) {
    if (id == kIdOk || id == kIdCancel) EndDialog(id);
}

void TemplateDialog::PlaceWidget(QWidget* widget, int id, const DialogRect& rect) {
    if (id != kNoId) widget->setObjectName(QString::number(id));
    widget->setGeometry(units_.ToPixels(rect));
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    }
}

QCheckBox* TemplateDialog::AddCheckBox(int id, const DialogRect& rect, const QString& text) {
    return Place(new QCheckBox(text, this), id, rect);
}

QPushButton* TemplateDialog::AddPushButton(int id, const DialogRect& rect, const QString& text) {
    // Auto-default, as a push button in a template dialog: while it has the focus, Enter
    // presses it rather than the default button.
    return Place(new QPushButton(text, this), id, rect);
}

QPushButton* TemplateDialog::AddDefaultPushButton(int id, const DialogRect& rect, const QString& text) {
    auto* button = AddPushButton(id, rect, text);
    button->setDefault(true);
    return button;
}

QLabel* TemplateDialog::AddLabel(int id, const DialogRect& rect, const QString& text) {
    return Place(new QLabel(text, this), id, rect);
}

}  // namespace lumora
