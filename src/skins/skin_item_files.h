// SkinItemFiles: changes the items of one skin folder, the values in its skin.ini and the
// picture files they name, so that no failure costs the user a picture.
//
// Setting a picture from another folder copies it to a temporary file in the skin
// folder first and only then moves it to its name; the item's old picture is deleted
// after the new one is in place, and only when no other item of the skin names it. When
// anything fails, the item and every file stay as they were. A picture that already
// lies in the skin folder is only named.
//
// Only names inside the folder are ever deleted: a value that leads out of it ("..") is
// cleared but its file left alone.
//
// Functions that fail leave errno at the reason (0 when the value itself could not be
// written, such as a name with a line break). A plain value; user-interface thread.
#pragma once

#include "skins/skin_colour.h"
#include "skins/skin_font.h"
#include "skins/skin_item_table.h"

#include <string>
#include <string_view>

namespace lumora {

class SkinItemFiles {
public:
    enum class PictureSet {
        kNamed,   // the picture was in the skin folder already: only its name was written
        kCopied,  // copied in and named; the old picture is gone unless another item uses it
        kFailed,  // nothing changed
    };

    // `folder` with a trailing "/".
    explicit SkinItemFiles(std::string folder) : folder_(std::move(folder)) {}

    const std::string& Folder() const { return folder_; }
    std::string Ini() const { return folder_ + "skin.ini"; }

    // The value of a bitmap or colour item; "" when it has none.
    std::string Value(const SkinItem& item) const;

    // Makes the picture at `source` the picture of bitmap item `item`. A picture of the
    // same folder (its folder's text matches the skin folder's without regard to case, or
    // it is the same folder by another path) that is there under that name is only named.
    // Otherwise it is copied under its own file name, which fails when another file of
    // that name is in the skin folder; a new picture of the item's own file name replaces
    // the old one.
    PictureSet SetPicture(const SkinItem& item, const std::string& source);

    // Deletes the item's picture and clears its value; true once it is cleared. A picture
    // already gone counts as deleted; one another item names is kept.
    bool RemovePicture(const SkinItem& item);

    // "%d,%d,%d" of the colour into the item's key.
    bool SetColour(const SkinItem& item, SkinColour colour);

    // The five font keys in the item's section, in this order: face, whole points, bold,
    // italic, underline (each 0 or 1).
    bool SetFont(const SkinItem& item, const SkinFont& font);

private:
    bool IsInFolder(const std::string& sourceFolder, const std::string& name) const;
    bool IsNamedByOtherItem(const std::string& name, int itemId) const;
    void DeleteUnused(const std::string& name, int itemId) const;
    bool Write(const SkinItem& item, std::string_view key, std::string_view value) const;
    // Copies `source` to a temporary file here, then moves it to `name`: over an existing
    // file when `replace`, else failing with EEXIST when there is one.
    bool CopyIn(const std::string& source, const std::string& name, bool replace) const;
    bool MoveInto(const std::string& temporary, const std::string& target, bool replace) const;

    std::string folder_;
};

}  // namespace lumora
