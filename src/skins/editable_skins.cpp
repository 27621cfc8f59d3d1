#include "skins/editable_skins.h"

#include "skins/skin_ini.h"
#include "skins/skin_manager.h"

#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace lumora {
namespace {

bool IsFolderName(const std::string& name) { return name != "." && name != ".." && name.find('/') == name.npos; }

// Makes `root` and the folders above it; false with errno set when it cannot.
bool MakeRoot(const std::string& root) {
    std::error_code error;
    std::filesystem::create_directories(root, error);
    if (error) errno = error.value();
    return !error;
}

}  // namespace

std::vector<std::string> EditableSkins::Roots() const {
    std::vector<std::string> roots;
    const std::string program = manager_.SkinsRoot();
    if (IsWritableFolder(program)) roots.push_back(program);
    for (const std::string& root : manager_.SkinsRoots()) {
        if (root != program) roots.push_back(root);
    }
    return roots;
}

std::vector<EditableSkins::Entry> EditableSkins::List() const {
    std::vector<std::string> folders;
    manager_.EnumerateSkinFolders(&folders);
    std::vector<Entry> skins;
    for (const std::string& folder : folders) {
        std::string name = ReadSkinValue(folder + "skin.ini", "general", "name");
        if (!name.empty()) skins.push_back({std::move(name), folder});
    }
    return skins;
}

std::string EditableSkins::TrimName(const std::string& typedName) {
    const auto first = typedName.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = typedName.find_last_not_of(" \t");
    return typedName.substr(first, last - first + 1);
}

EditableSkins::Created EditableSkins::Create(const std::string& name) const {
    const auto length = QString::fromStdString(name).toUcs4().size();
    if (length == 0 || length > kMaxNameLength) return Created::kBadName;
    const std::vector<std::string> roots = Roots();
    if (roots.empty() || !IsFolderName(name)) {
        errno = roots.empty() ? EACCES : EINVAL;
        return Created::kFolderFailed;
    }
    if (!MakeRoot(roots.front())) return Created::kFolderFailed;
    const std::string folder = roots.front() + name + "/";
    if (::mkdir(folder.c_str(), 0777) != 0) return Created::kFolderFailed;
    errno = 0;  // a value that cannot be written sets none
    if (!WriteSkinValue(folder + "skin.ini", "general", "name", name)) {
        const int reason = errno;
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        errno = reason;
        return Created::kIniFailed;
    }
    return Created::kCreated;
}

bool EditableSkins::IsWritableFolder(const std::string& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder, error) &&
           ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace lumora
