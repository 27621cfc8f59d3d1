// SkinEditorDialog: the "Skin editor" window (template 251, with a preview pane beside
// it). It shows the state of a SkinEditor and forwards every choice, button and drop to
// it, then shows the state again; the preview draws the main window with the skin being
// edited, loaded afresh from its folder after every change.
//
// The system choosers (open file, colour, font) are hooks, so tests answer for the user.
// The 16 custom colours of the colour chooser start black and are kept while the dialog
// is open.
//
// Modal, run with exec(); its result means nothing. User-interface thread. Borrows the
// SkinManager for its lifetime.
#pragma once

#include "platform/template_dialog.h"
#include "skins/skin_editor.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;

namespace lumora {

class SkinEditorPreview;

class SkinEditorDialog : public TemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 251;
    static constexpr int kIdClose = kIdCancel;
    static constexpr int kIdPreview = 1030;  // the preview pane

    using CustomColours = std::array<QColor, 16>;
    struct Choosers {
        // A picture file to set; "" when cancelled.
        std::function<QString(QWidget* owner)> file;
        // The chosen colour, starting from `initial` (invalid: none); invalid when cancelled.
        std::function<QColor(QWidget* owner, QColor initial, CustomColours& custom)> colour;
        // The chosen font, starting from `initial`; nothing when cancelled.
        std::function<std::optional<QFont>(QWidget* owner, const QFont& initial)> font;
    };
    // The desktop's own dialogs.
    static Choosers SystemChoosers();

    SkinEditorDialog(SkinManager& manager, QWidget* owner, Choosers choosers = SystemChoosers());
    ~SkinEditorDialog() override;

    SkinEditor& Editor() { return editor_; }
    const SkinEditorPreview& Preview() const { return *preview_; }
    // Whether anything was written while the dialog was open (a skin made or changed).
    bool ChangedSkins() const { return changedSkins_; }

    // The chooser's font as a skin names it: face, whole points (tenths cut off), bold
    // when the weight is not normal, italic, underline.
    static SkinFont ToSkinFont(const QFont& font);

protected:
    void OnCommand(int id) override;
    // Enter presses the button that has the focus and does nothing elsewhere: the template
    // has no OK button, and the name field must not create a skin on its own.
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildManagementGroup();
    void BuildItemGroup();
    void BuildItemValueControls();
    void BuildPreview();
    void ConnectLists();
    void FillSkinList();
    void FillItemList();
    void ShowState();
    void ShowItem();
    void ShowSwatch();
    void RefreshPreview();
    void SetFileFromChooser();
    void ChooseColour();
    void ChooseFont();
    void CreateSkin();

    SkinManager& manager_;
    SkinEditor editor_;
    Choosers choosers_;
    CustomColours customColours_;
    SkinEditorPreview* preview_ = nullptr;
    std::uint64_t previewChanges_ = ~std::uint64_t{0};
    bool changedSkins_ = false;
};

}  // namespace lumora
