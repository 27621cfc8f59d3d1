#include "skins/skin_editor.h"

#include "platform/message_box.h"
#include "skins/skin_item_files.h"

#include <algorithm>
#include <iterator>

namespace lumora {
namespace {

constexpr int kBitmapControls[] = {SkinEditor::kIdFileNameLabel,     SkinEditor::kIdFileName,
                                   SkinEditor::kIdSetFile,           SkinEditor::kIdRemove,
                                   SkinEditor::kIdDefaultImageLabel, SkinEditor::kIdDefaultImage,
                                   SkinEditor::kIdCurrentImageLabel, SkinEditor::kIdCurrentImage};
constexpr int kColourControls[] = {SkinEditor::kIdColourLabel, SkinEditor::kIdSwatch, SkinEditor::kIdColourChooser};
constexpr int kFontControls[] = {SkinEditor::kIdFontLabel, SkinEditor::kIdFontText, SkinEditor::kIdFontChooser};

bool Contains(std::span<const int> ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

}  // namespace

SkinEditor::SkinEditor(SkinManager& manager, QObject* messageOwner) : messageOwner_(messageOwner), editable_(manager) {}

void SkinEditor::Open() {
    ListSkins();
    SelectSkin(skins_.empty() ? -1 : 0);
}

std::string SkinEditor::SelectedFolder() const {
    return skin_ >= 0 ? skins_[static_cast<std::size_t>(skin_)].folder : std::string();
}

void SkinEditor::SelectSkin(int index) {
    ++changes_;
    const bool valid = index >= 0 && index < static_cast<int>(skins_.size());
    skin_ = valid ? index : -1;
    category_ = -1;
    view_ = {};
    if (valid) SelectCategory(0);
}

void SkinEditor::SelectCategory(int categoryId) {
    const auto range = GetCategoryItemRange(categoryId);
    if (skin_ < 0 || !range) return;
    category_ = categoryId;
    SelectItem(range->first);
}

std::span<const SkinItem> SkinEditor::CategoryItems() const {
    const auto range = GetCategoryItemRange(category_);
    if (!range) return {};
    return SkinItems().subspan(static_cast<std::size_t>(range->first),
                               static_cast<std::size_t>(range->second - range->first + 1));
}

void SkinEditor::SelectItem(int itemId) {
    if (skin_ < 0 || category_ < 0 || GetItemCategory(itemId) != category_) return;
    view_ = SkinItemView::Read(SelectedFolder(), *FindSkinItem(itemId));
}

bool SkinEditor::IsEnabled(int controlId) const {
    if (controlId == kIdCategories || controlId == kIdItems) return skin_ >= 0;
    SkinItemKind kind{};
    if (!IsItemControl(controlId, kind)) return true;
    return ShownKindIs(kind);
}

bool SkinEditor::ShownKindIs(SkinItemKind kind) const { return skin_ >= 0 && view_.item && view_.item->kind == kind; }

bool SkinEditor::IsItemControl(int controlId, SkinItemKind& kind) {
    const std::pair<std::span<const int>, SkinItemKind> groups[] = {{kBitmapControls, SkinItemKind::kBitmap},
                                                                    {kColourControls, SkinItemKind::kColour},
                                                                    {kFontControls, SkinItemKind::kFont}};
    for (const auto& [ids, groupKind] : groups) {
        if (Contains(ids, controlId)) {
            kind = groupKind;
            return true;
        }
    }
    return false;
}

void SkinEditor::SetFile(const std::string& source) {
    if (source.empty() || !ShownKindIs(SkinItemKind::kBitmap)) return;
    SkinItemFiles files(SelectedFolder());
    if (files.SetPicture(*view_.item, source) == SkinItemFiles::PictureSet::kFailed) {
        ReportSystemError("Couldn't copy file to skin's folder!");
    }
    ShowItem();
}

void SkinEditor::Drop(const std::vector<std::string>& files) {
    if (!AcceptsDrops()) return;
    if (files.size() != 1) {
        Report("Only single file could be dropped!", mb::kIconInformation);
        return;
    }
    SetFile(files.front());
}

void SkinEditor::Remove() {
    if (!ShownKindIs(SkinItemKind::kBitmap)) return;
    SkinItemFiles files(SelectedFolder());
    if (files.Value(*view_.item).empty()) return;
    if (Report("Are you sure you want to remove this file?", mb::kYesNo | mb::kIconQuestion) != id::kYes) return;
    if (!files.RemovePicture(*view_.item)) ReportSystemError("Couldn't remove file from skin's folder!");
    ShowItem();
}

void SkinEditor::SetColour(SkinColour colour) {
    if (!ShownKindIs(SkinItemKind::kColour) || colour == NoColour) return;
    if (!SkinItemFiles(SelectedFolder()).SetColour(*view_.item, colour)) {
        ReportSystemError("Couldn't write to skin's configuration file!");
    }
    ShowItem();
}

void SkinEditor::SetFont(const SkinFont& font) {
    if (!ShownKindIs(SkinItemKind::kFont)) return;
    if (!SkinItemFiles(SelectedFolder()).SetFont(*view_.item, font)) {
        ReportSystemError("Couldn't write to skin's configuration file!");
    }
    ShowItem();
}

bool SkinEditor::CreateSkin(const std::string& typedName) {
    const std::string name = EditableSkins::TrimName(typedName);
    switch (editable_.Create(name)) {
        case EditableSkins::Created::kBadName: {
            const std::string text = "Skin name couldn't be empty and should be maximum of " +
                                     std::to_string(EditableSkins::kMaxNameLength) + " characters.";
            Report(text.c_str(), mb::kIconWarning);
            return false;
        }
        case EditableSkins::Created::kFolderFailed:
            ReportSystemError(
                "Couldn't create folder for new skin! Maybe skin with name specified already exists or skins "
                "directory corrupted.");
            return false;
        case EditableSkins::Created::kIniFailed:
            ReportSystemError("Couldn't create configuration file for new skin!");
            return false;
        case EditableSkins::Created::kCreated: break;
    }
    const std::string text =
        "Skin '" + name + "' has been created. You can now select it from the drop-down list and configure its items.";
    Report(text.c_str(), mb::kIconInformation);
    ListSkins();
    SelectSkin(-1);
    return true;
}

void SkinEditor::ListSkins() { skins_ = editable_.List(); }

void SkinEditor::ShowItem() {
    ++changes_;
    if (view_.item) view_ = SkinItemView::Read(SelectedFolder(), *view_.item);
}

int SkinEditor::Report(const char* text, unsigned flags) const { return ShowMessage(messageOwner_, text, flags); }

int SkinEditor::ReportSystemError(const char* text) const {
    return ShowLastErrorMessage(messageOwner_, text, mb::kIconWarning);
}

}  // namespace lumora
