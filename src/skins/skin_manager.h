// SkinManager: every skin of a run and the windows that take them. Index 0 is always the
// built-in "Default"; after it come the skins of the folders under "skins/" in the
// program folder, then those of the user's skins folder, each in the order of their
// folder names. ApplySkin sends a skin to every registered window (an ApplySkinEvent,
// MSG_APPLY_SKIN) and repaints it.
//
// The user's skins folder is where skins go when the program folder cannot be written
// (an installed program): $XDG_DATA_HOME/lumora/skins/, by default
// ~/.local/share/lumora/skins/.
//
// Owns the Skins: the pictures windows borrow from them stay valid until the manager is
// destroyed or LoadAllSkins runs again (after which a skin must be applied again).
// Windows are held weakly: a registered window that has been destroyed is skipped.
// User-interface thread only.
#pragma once

#include "skins/skin.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumora {

class SkinManager {
public:
    SkinManager();
    ~SkinManager();
    SkinManager(const SkinManager&) = delete;
    SkinManager& operator=(const SkinManager&) = delete;

    // The program folder, with a trailing "/"; the skins are in its "skins/" folder.
    void SetProgramFolder(const std::string& folder);
    std::string SkinsRoot() const;

    // The user's skins folder, with a trailing "/"; read from the environment on every
    // call until one is set. Empty when the user has no home folder.
    void SetUserSkinsRoot(const std::string& root);
    std::string UserSkinsRoot() const;

    // The folders skins are loaded from, in order: SkinsRoot(), then UserSkinsRoot()
    // (left out when it is empty or the same folder).
    std::vector<std::string> SkinsRoots() const;

    // The device pixel ratio pictures are made for by the next load (at first the largest
    // of the screens'); at least 1.
    void SetDevicePixelRatio(qreal ratio);
    qreal DevicePixelRatio() const { return devicePixelRatio_; }

    // Appends a window to notify; null is ignored.
    void RegisterSkinWindow(QWidget* window);

    // Forgets every skin, then loads the built-in one and every skin folder.
    void LoadAllSkins();

    // Forgets every skin, then loads only the built-in one: a start-up that shows the
    // built-in skin need not decode every folder's pictures first.
    void LoadBuiltinSkin();
    // Loads the skin folders after LoadBuiltinSkin, once (nothing when they are loaded
    // already). Answers whether it loaded them now.
    bool LoadSkinFoldersOnce();

    // LoadAllSkins, then applies the skin that was at `current` before: the one of the
    // same name at the same index, else the first of that name, else the built-in skin.
    // Answers the index applied. For skins made or changed while the program runs.
    int ReloadAllSkins(int current);

    // Without a list: loads every valid skin folder and appends its Skin. With one:
    // appends the folder paths (each with a trailing "/") and loads nothing. Folders are
    // taken root by root (SkinsRoots), each in the order of their names; plain files, and
    // folders that cannot be listed, are passed over.
    void EnumerateSkinFolders(std::vector<std::string>* folders = nullptr);

    // The skin of one folder, or null when it is none (see SkinLoader).
    std::unique_ptr<Skin> LoadSkin(const std::string& folder) const;

    // Sends skin `index` to every registered window in order, then repaints each;
    // nothing for an index without a skin.
    void ApplySkin(int index);

    int Count() const { return static_cast<int>(skins_.size()); }
    // Null for an index without a skin.
    const Skin* Get(int index) const;

private:
    std::vector<QPointer<QWidget>> windows_;
    std::string programFolder_;
    std::optional<std::string> userSkinsRoot_;
    std::vector<std::unique_ptr<Skin>> skins_;
    qreal devicePixelRatio_ = 1.0;
    bool foldersLoaded_ = false;
};

}  // namespace lumora
