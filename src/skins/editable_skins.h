// EditableSkins: the skin folders the skin editor works on, and where it makes new ones.
//
// The editor writes where the user may write: the program's skins folder when it exists
// and can be written (a program run from its build or unpacked folder), and the user's
// skins folder always (see SkinManager). New skins go to the first of them, so an
// installed program under /usr makes them in the user's folder, which is created then.
// Every skin is listed, also those of a folder the editor cannot write: they can be
// looked at, and a change to one reports why it failed.
//
// A skin is named by general/name of its skin.ini; folders without one are not skins.
// Each listed skin keeps its own folder, so a folder named otherwise than its skin is
// still the one edited.
//
// Borrows the SkinManager for its lifetime. User-interface thread.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace lumora {

class SkinManager;

class EditableSkins {
public:
    static constexpr int kMaxNameLength = 64;  // characters of a new skin's name

    struct Entry {
        std::string name;    // general/name of its skin.ini
        std::string folder;  // with a trailing "/"
    };

    // What CreateSkin did; on kFolderFailed and kIniFailed errno holds the reason.
    enum class Created { kCreated, kBadName, kFolderFailed, kIniFailed };

    explicit EditableSkins(SkinManager& manager) : manager_(manager) {}

    // The skins folders the editor writes, each with a trailing "/"; the first takes new skins.
    std::vector<std::string> Roots() const;

    // Every skin the SkinManager finds, in the order it lists their folders.
    std::vector<Entry> List() const;

    // `typedName` without leading and trailing blanks and tabs.
    static std::string TrimName(const std::string& typedName);

    // Makes the folder <first root><name>/ and its skin.ini naming the skin `name`
    // (trimmed already). A name that is empty or longer than kMaxNameLength characters is
    // kBadName. A name that cannot be a folder of the root ("." , "..", or one with a "/")
    // and a folder that already exists are kFolderFailed; a skin.ini that cannot be
    // written is kIniFailed, and the new folder is removed again.
    Created Create(const std::string& name) const;

private:
    static bool IsWritableFolder(const std::string& folder);

    SkinManager& manager_;
};

}  // namespace lumora
