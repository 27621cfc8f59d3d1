#include "skins/skin_manager.h"

#include "skins/apply_skin_event.h"
#include "skins/skin_loader.h"
#include "skins/themed_skin.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <filesystem>

namespace lumora {

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

void SkinManager::EnumerateSkinFolders(std::vector<std::string>* folders) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(SkinsRoot(), error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (it->is_directory(ignored)) names.push_back(it->path().filename().string());
    }
    // The file system lists entries in no stable order.
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = SkinsRoot() + name + "/";
        if (folders) {
            folders->push_back(path);
        } else if (auto skin = LoadSkin(path)) {
            skins_.push_back(std::move(skin));
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
