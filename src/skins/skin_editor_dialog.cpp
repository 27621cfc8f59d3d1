#include "skins/skin_editor_dialog.h"

#include "skins/skin_editor_preview.h"
#include "skins/skin_image_box.h"
#include "skins/skin_manager.h"
#include "skins/themed_skin.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

using E = SkinEditor;

// The template is 281 units wide; the preview pane takes a column to its right.
const DialogTemplate kTemplate{"Skin editor", 281 + 200, 279, "MS Shell Dlg", 8};

// Every control whose enabling follows the skin and the shown item.
constexpr int kDependentControls[] = {
    E::kIdCategories,        E::kIdItems,        E::kIdFileNameLabel,     E::kIdFileName,
    E::kIdSetFile,           E::kIdRemove,       E::kIdDefaultImageLabel, E::kIdDefaultImage,
    E::kIdCurrentImageLabel, E::kIdCurrentImage, E::kIdColourLabel,       E::kIdSwatch,
    E::kIdColourChooser,     E::kIdFontLabel,    E::kIdFontText,          E::kIdFontChooser};

QComboBox* NewList(QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setMaxVisibleItems(12);
    return list;
}

// A template's drop-down list height counts its open list too; closed, it is one line high.
void FitClosedHeight(QComboBox* list) { list->resize(list->width(), list->sizeHint().height()); }

// Labels keep their text whole where the desktop's font runs wider than the template's.
void FitLabelWidths(QWidget& dialog) {
    for (QLabel* label : dialog.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
    }
}

QLineEdit* NewReadOnlyEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    return edit;
}

QString ChooseSystemFile(QWidget* owner) {
    return QFileDialog::getOpenFileName(owner, "Open Image File...", QString(),
                                        "Image Files (*.bmp *.jpg *.gif *.wmf *.ico);;All Files (*)");
}

QColor ChooseSystemColour(QWidget* owner, QColor initial, SkinEditorDialog::CustomColours& custom) {
    for (int i = 0; i < static_cast<int>(custom.size()); ++i) QColorDialog::setCustomColor(i, custom[i]);
    const QColor chosen = QColorDialog::getColor(initial.isValid() ? initial : QColor(Qt::black), owner);
    for (int i = 0; i < static_cast<int>(custom.size()); ++i) custom[i] = QColorDialog::customColor(i);
    return chosen;
}

std::optional<QFont> ChooseSystemFont(QWidget* owner, const QFont& initial) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, owner);
    return ok ? std::optional<QFont>(chosen) : std::nullopt;
}

// The font the chooser starts from: the shown font item's face, size and flags.
QFont ToQFont(const SkinFont& font) {
    QFont qfont(QString::fromStdString(font.face));
    qfont.setPointSize(font.size);
    qfont.setBold(font.bold != 0);
    qfont.setItalic(font.italic != 0);
    qfont.setUnderline(font.underline != 0);
    return qfont;
}

}  // namespace

SkinEditorDialog::Choosers SkinEditorDialog::SystemChoosers() {
    return {ChooseSystemFile, ChooseSystemColour, ChooseSystemFont};
}

SkinEditorDialog::SkinEditorDialog(SkinManager& manager, QWidget* owner, Choosers choosers)
        : TemplateDialog(kTemplate, owner), manager_(manager), editor_(manager, this), choosers_(std::move(choosers)) {
    customColours_.fill(QColor(Qt::black));
    BuildManagementGroup();
    BuildItemGroup();
    BuildItemValueControls();
    AddLabel(kNoId, {6, 258, 210, 14}, "Note: to apply changes please restart Lumora application");
    AddPushButton(kIdClose, {225, 258, 50, 14}, "Close");
    BuildPreview();
    for (const int id : {E::kIdSkins, E::kIdCategories, E::kIdItems}) FitClosedHeight(Control<QComboBox>(id));
    FitLabelWidths(*this);
    for (const SkinCategory& category : SkinCategories()) {
        Control<QComboBox>(E::kIdCategories)->addItem(QString::fromStdString(category.text), category.id);
    }
    ConnectLists();
    editor_.Open();
    FillSkinList();
    ShowState();
}

SkinEditorDialog::~SkinEditorDialog() = default;

void SkinEditorDialog::BuildManagementGroup() {
    Place(new QGroupBox("Skin management", this), kNoId, {6, 0, 270, 50})->lower();
    AddLabel(kNoId, {12, 12, 50, 12}, "Available skins:");
    Place(NewList(this), E::kIdSkins, {66, 12, 204, 72});
    AddLabel(kNoId, {12, 30, 36, 14}, "Skin name:");
    Place(new QLineEdit(this), E::kIdName, {66, 30, 138, 14});
    AddPushButton(E::kIdCreate, {210, 30, 60, 14}, "Create skin");
}

void SkinEditorDialog::BuildItemGroup() {
    Place(new QGroupBox("Skin items", this), kNoId, {6, 54, 270, 198})->lower();
    AddLabel(kNoId, {12, 66, 48, 12}, "Item category:");
    Place(NewList(this), E::kIdCategories, {66, 66, 204, 72});
    AddLabel(kNoId, {12, 84, 36, 12}, "Skin item:");
    Place(NewList(this), E::kIdItems, {66, 84, 204, 72});
    AddLabel(kNoId, {12, 102, 39, 8}, "Description:");
    Place(NewReadOnlyEdit(this), E::kIdDescription, {12, 114, 258, 14});
    AddLabel(E::kIdFileNameLabel, {12, 132, 34, 8}, "File name:");
    Place(NewReadOnlyEdit(this), E::kIdFileName, {12, 144, 150, 14});
    AddPushButton(E::kIdSetFile, {168, 144, 48, 14}, "Set file...");
    AddPushButton(E::kIdRemove, {222, 144, 48, 14}, "Remove");
}

void SkinEditorDialog::BuildItemValueControls() {
    AddLabel(E::kIdDefaultImageLabel, {12, 162, 62, 8}, "Default skin image:");
    Place(new SkinImageBox(this), E::kIdDefaultImage, {12, 174, 126, 55});
    AddLabel(E::kIdCurrentImageLabel, {144, 162, 49, 8}, "Current image:");
    Place(new SkinImageBox(this), E::kIdCurrentImage, {144, 174, 126, 55});
    AddLabel(E::kIdFontLabel, {12, 234, 24, 12}, "Font:");
    Place(NewReadOnlyEdit(this), E::kIdFontText, {36, 234, 78, 12});
    AddPushButton(E::kIdFontChooser, {120, 234, 18, 12}, "...");
    AddLabel(E::kIdColourLabel, {144, 234, 42, 12}, "Item color:");
    Place(NewReadOnlyEdit(this), E::kIdSwatch, {186, 234, 60, 12});
    AddPushButton(E::kIdColourChooser, {252, 234, 18, 12}, "...");
}

void SkinEditorDialog::BuildPreview() {
    Place(new QGroupBox("Preview", this), kNoId, {284, 0, 191, 252})->lower();
    preview_ = Place(new SkinEditorPreview(this), kIdPreview, {290, 12, 179, 234});
}

void SkinEditorDialog::ConnectLists() {
    connect(Control<QComboBox>(E::kIdSkins), &QComboBox::currentIndexChanged, this, [this](int index) {
        editor_.SelectSkin(index);
        ShowState();
    });
    connect(Control<QComboBox>(E::kIdCategories), &QComboBox::currentIndexChanged, this, [this](int index) {
        editor_.SelectCategory(Control<QComboBox>(E::kIdCategories)->itemData(index).toInt());
        ShowState();
    });
    connect(Control<QComboBox>(E::kIdItems), &QComboBox::currentIndexChanged, this, [this](int index) {
        editor_.SelectItem(Control<QComboBox>(E::kIdItems)->itemData(index).toInt());
        ShowState();
    });
}

void SkinEditorDialog::FillSkinList() {
    auto* list = Control<QComboBox>(E::kIdSkins);
    const QSignalBlocker blocker(list);
    list->clear();
    for (const EditableSkins::Entry& skin : editor_.Skins()) list->addItem(QString::fromStdString(skin.name));
}

void SkinEditorDialog::FillItemList() {
    auto* list = Control<QComboBox>(E::kIdItems);
    list->clear();
    for (const SkinItem& item : editor_.CategoryItems()) list->addItem(QString::fromStdString(item.name), item.id);
}

void SkinEditorDialog::ShowState() {
    auto* skins = Control<QComboBox>(E::kIdSkins);
    auto* categories = Control<QComboBox>(E::kIdCategories);
    auto* items = Control<QComboBox>(E::kIdItems);
    {
        const QSignalBlocker blockSkins(skins), blockCategories(categories), blockItems(items);
        skins->setCurrentIndex(editor_.SelectedSkin());
        categories->setCurrentIndex(categories->findData(editor_.SelectedCategory()));
        FillItemList();
        items->setCurrentIndex(items->findData(editor_.SelectedItem()));
    }
    for (const int id : kDependentControls) Control(id)->setEnabled(editor_.IsEnabled(id));
    setAcceptDrops(editor_.AcceptsDrops());
    ShowItem();
    RefreshPreview();
}

void SkinEditorDialog::ShowItem() {
    const SkinItemView& view = editor_.View();
    Control<QLineEdit>(E::kIdDescription)->setText(QString::fromStdString(view.description));
    Control<QLineEdit>(E::kIdFileName)->setText(QString::fromStdString(view.fileName));
    Control<QLineEdit>(E::kIdFontText)->setText(QString::fromStdString(view.fontText));
    const bool bitmap = view.item && view.item->kind == SkinItemKind::kBitmap;
    const qreal ratio = devicePixelRatioF();
    Control<SkinImageBox>(E::kIdDefaultImage)
        ->SetPicture(bitmap && view.item->builtinPicture > 0 ? BuiltinPicture(view.item->builtinPicture, ratio)
                                                             : QImage());
    Control<SkinImageBox>(E::kIdCurrentImage)
        ->SetPicture(view.picturePath.empty() ? QImage() : SkinImageBox::LoadAtOwnSize(view.picturePath));
    ShowSwatch();
}

void SkinEditorDialog::ShowSwatch() {
    auto* swatch = Control<QLineEdit>(E::kIdSwatch);
    QPalette colours = palette();
    // A colour that does not parse shows as no colour, like an empty one.
    if (editor_.View().colour != NoColour) colours.setColor(QPalette::Base, ToQColor(editor_.View().colour));
    swatch->setPalette(colours);
}

void SkinEditorDialog::RefreshPreview() {
    if (editor_.Changes() == previewChanges_) return;
    previewChanges_ = editor_.Changes();
    const std::string folder = editor_.SelectedFolder();
    preview_->SetSkin(folder.empty() ? nullptr : manager_.LoadSkin(folder));
}

void SkinEditorDialog::OnCommand(int id) {
    switch (id) {
        case E::kIdCreate: CreateSkin(); break;
        case E::kIdSetFile: SetFileFromChooser(); break;
        case E::kIdRemove:
            editor_.Remove();
            changedSkins_ = true;
            break;
        case E::kIdColourChooser: ChooseColour(); break;
        case E::kIdFontChooser: ChooseFont(); break;
        default: TemplateDialog::OnCommand(id); return;
    }
    ShowState();
}

void SkinEditorDialog::SetFileFromChooser() {
    if (!editor_.IsEnabled(E::kIdSetFile)) return;
    const QString file = choosers_.file(this);
    if (file.isEmpty()) return;
    editor_.SetFile(file.toStdString());
    changedSkins_ = true;
}

void SkinEditorDialog::ChooseColour() {
    if (!editor_.IsEnabled(E::kIdColourChooser)) return;
    const QColor chosen = choosers_.colour(this, ToQColor(editor_.View().colour), customColours_);
    if (!chosen.isValid()) return;
    editor_.SetColour(SkinRgb(chosen.red(), chosen.green(), chosen.blue()));
    changedSkins_ = true;
}

void SkinEditorDialog::ChooseFont() {
    if (!editor_.IsEnabled(E::kIdFontChooser)) return;
    const std::optional<QFont> chosen = choosers_.font(this, ToQFont(editor_.View().font));
    if (!chosen) return;
    editor_.SetFont(ToSkinFont(*chosen));
    changedSkins_ = true;
}

void SkinEditorDialog::CreateSkin() {
    auto* name = Control<QLineEdit>(E::kIdName);
    if (!editor_.CreateSkin(name->text().toStdString())) return;
    name->clear();
    changedSkins_ = true;
    FillSkinList();
}

SkinFont SkinEditorDialog::ToSkinFont(const QFont& font) {
    SkinFont skinFont;
    skinFont.face = font.family().left(static_cast<int>(SkinFont::kMaxFaceLength)).toStdString();
    skinFont.size = static_cast<std::int32_t>(std::lround(font.pointSizeF() * 10) / 10);  // tenths cut off
    skinFont.bold = font.weight() != QFont::Normal ? 1 : 0;
    skinFont.italic = font.italic() ? 1 : 0;
    skinFont.underline = font.underline() ? 1 : 0;
    return skinFont;
}

void SkinEditorDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return TemplateDialog::keyPressEvent(event);
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
}

void SkinEditorDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (editor_.AcceptsDrops() && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void SkinEditorDialog::dropEvent(QDropEvent* event) {
    std::vector<std::string> files;
    for (const QUrl& url : event->mimeData()->urls()) files.push_back(url.toLocalFile().toStdString());
    event->acceptProposedAction();
    editor_.Drop(files);
    changedSkins_ = true;
    ShowState();
}

}  // namespace lumora
