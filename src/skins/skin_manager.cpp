#include "skins/skin_manager.h"

#include "platform/user_folders.h"
#include "skins/apply_skin_event.h"
#include "skins/skin_loader.h"
#include "skins/themed_skin.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <filesystem>

namespace lumora {
namespace {

// The names of the folders in `root`, sorted: the file system lists entries in no stable
// order.
std::vector<std::string> SortedFolderNames(const std::string& root) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (it->is_directory(ignored)) names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

SkinManager::SkinManager() {
    if (qGuiApp) SetDevicePixelRatio(qGuiApp->devicePixelRatio());
}

SkinManager::~SkinManager() = default;

void SkinManager::SetProgramFolder(const std::string& folder) {
    programFolder_ = folder;
}

std::string SkinManager::SkinsRoot() const {
    return programFolder_ + "skins/";
}

void SkinManager::SetUserSkinsRoot(const std::string& root) {
    userSkinsRoot_ = root;
}

std::string SkinManager::UserSkinsRoot() const {
    if (userSkinsRoot_) return *userSkinsRoot_;
    const std::filesystem::path data = DataHome();
    return data.empty() ? std::string() : (data / "lumora" / "skins").string() + "/";
}

std::vector<std::string> SkinManager::SkinsRoots() const {
    std::vector<std::string> roots{SkinsRoot()};
    const std::string user = UserSkinsRoot();
    std::error_code error;
    if (!user.empty() && user != roots.front() && !std::filesystem::equivalent(user, roots.front(), error)) {
        roots.push_back(user);
    }
    return roots;
}

void SkinManager::SetDevicePixelRatio(qreal ratio) {
    devicePixelRatio_ = std::max<qreal>(1.0, ratio);
}

void SkinManager::RegisterSkinWindow(QWidget* window) {
    if (window) windows_.emplace_back(window);
}

void SkinManager::LoadAllSkins() {
    LoadBuiltinSkin();
    LoadSkinFoldersOnce();
}

void SkinManager::LoadBuiltinSkin() {
    skins_.clear();
    foldersLoaded_ = false;
    if (auto builtin = CreateDefaultSkin(devicePixelRatio_)) skins_.push_back(std::move(builtin));
}

bool SkinManager::LoadSkinFoldersOnce() {
    if (foldersLoaded_) return false;
    foldersLoaded_ = true;
    EnumerateSkinFolders();
    return true;
}

int SkinManager::ReloadAllSkins(int current) {
    const Skin* before = Get(current);
    const QString name = before ? before->name : QString();
    LoadAllSkins();
    int index = 0;
    if (Get(current) && Get(current)->name == name) {
        index = current;
    } else {
        for (int i = 0; i < Count(); ++i) {
            if (Get(i)->name == name) {
                index = i;
                break;
            }
        }
    }
    ApplySkin(index);
    return index;
}

void SkinManager::EnumerateSkinFolders(std::vector<std::string>* folders) {
    for (const std::string& root : SkinsRoots()) {
        for (const std::string& name : SortedFolderNames(root)) {
            const std::string path = root + name + "/";
            if (folders) {
                folders->push_back(path);
            } else if (auto skin = LoadSkin(path)) {
                skins_.push_back(std::move(skin));
            }
        }
    }
}

std::unique_ptr<Skin> SkinManager::LoadSkin(const std::string& folder) const {
    return SkinLoader::Load(folder, devicePixelRatio_);
}

void SkinManager::ApplySkin(int index) {
    const Skin* skin = Get(index);
    if (!skin) return;
    for (const QPointer<QWidget>& window : windows_) {
        if (!window) continue;
        ApplySkinEvent event(*skin);
        QCoreApplication::sendEvent(window, &event);
        // A receiver may have destroyed itself.
        if (window) window->update();
    }
}

const Skin* SkinManager::Get(int index) const {
    return index >= 0 && index < Count() ? skins_[static_cast<std::size_t>(index)].get() : nullptr;
}

}  // namespace lumora
