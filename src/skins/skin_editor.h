// SkinEditor: the skin editor without its window. It keeps which skin, category and item
// are chosen, says which controls are enabled and what they show, and carries out the
// buttons on the skin's files; the dialog (SkinEditorDialog) only shows its state and
// forwards the user's actions, after each of which it shows the state again.
//
// The skins are those of EditableSkins, each edited in its own folder. Every change goes
// straight to the skin's files; the loaded skins of the running program stay as they
// are. Failures are reported in message boxes owned by the dialog, with the system's
// reason; the item and its files then stay as they were.
//
// Controls by id (those of the editor's template): with no skin chosen, the category
// and item lists and every item control are disabled; otherwise the item controls of the
// shown item's kind are enabled and those of the other kinds disabled. Files can be
// dropped only while a bitmap item is shown.
//
// Borrows the SkinManager and the message owner for its lifetime. User-interface thread.
#pragma once

#include "skins/editable_skins.h"
#include "skins/skin_colour.h"
#include "skins/skin_font.h"
#include "skins/skin_item_view.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class QObject;

namespace lumora {

class SkinEditor {
public:
    enum : int {
        kIdSkins = 1006,
        kIdName = 1007,
        kIdCreate = 1008,
        kIdCategories = 1009,
        kIdItems = 1010,
        kIdDescription = 1011,
        kIdFileName = 1012,
        kIdSetFile = 1013,
        kIdRemove = 1014,
        kIdDefaultImage = 1015,
        kIdCurrentImage = 1016,
        kIdFontText = 1017,
        kIdFontChooser = 1018,
        kIdSwatch = 1019,
        kIdColourChooser = 1020,
        kIdFontLabel = 1021,
        kIdColourLabel = 1022,
        kIdDefaultImageLabel = 1023,
        kIdCurrentImageLabel = 1024,
        kIdFileNameLabel = 1025,
    };

    SkinEditor(SkinManager& manager, QObject* messageOwner);
    SkinEditor(const SkinEditor&) = delete;
    SkinEditor& operator=(const SkinEditor&) = delete;

    // Lists the skins and chooses the first, if there is one.
    void Open();

    const std::vector<EditableSkins::Entry>& Skins() const { return skins_; }
    int SelectedSkin() const { return skin_; }
    // The chosen skin's folder; "" when none is chosen.
    std::string SelectedFolder() const;
    // Chooses skin `index` of Skins() (another number chooses none), then its first
    // category.
    void SelectSkin(int index);

    int SelectedCategory() const { return category_; }
    // Chooses a category, then shows its first item; nothing without a skin.
    void SelectCategory(int categoryId);
    // The items of the chosen category; none without one.
    std::span<const SkinItem> CategoryItems() const;

    int SelectedItem() const { return view_.item ? view_.item->id : -1; }
    // Shows an item of the chosen category; nothing for another.
    void SelectItem(int itemId);
    const SkinItemView& View() const { return view_; }

    bool IsEnabled(int controlId) const;
    bool AcceptsDrops() const { return ShownKindIs(SkinItemKind::kBitmap); }

    // The buttons. Each works on the shown item when it is of its kind and does nothing
    // otherwise.
    void SetFile(const std::string& source);
    // Files dropped on the dialog (local paths; "" for what is not a local file).
    void Drop(const std::vector<std::string>& files);
    void Remove();
    void SetColour(SkinColour colour);
    void SetFont(const SkinFont& font);
    // True when the skin was made (the name field is then cleared); the list is made
    // anew and no skin is chosen.
    bool CreateSkin(const std::string& typedName);

    // Counts the changes to the chosen skin's files, and choosing another skin: whoever
    // shows the skin draws it again when the count has moved.
    std::uint64_t Changes() const { return changes_; }

private:
    bool ShownKindIs(SkinItemKind kind) const;
    static bool IsItemControl(int controlId, SkinItemKind& kind);
    void ListSkins();
    void ShowItem();
    int Report(const char* text, unsigned flags) const;
    int ReportSystemError(const char* text) const;

    QObject* messageOwner_;
    EditableSkins editable_;
    std::vector<EditableSkins::Entry> skins_;
    int skin_ = -1;
    int category_ = -1;
    SkinItemView view_;
    std::uint64_t changes_ = 0;
};

}  // namespace lumora
