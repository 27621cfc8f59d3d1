#include "platform/settings_store.h"

#include "platform/atomic_file.h"
#include "platform/file_lock.h"
#include "platform/reg_file_format.h"

#include <cstdlib>
#include <pwd.h>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace lumora {

namespace {

constexpr const char* kFileName = "lumora.reg";
constexpr int kMaxSetAsideNames = 1000;

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && *found->pw_dir) {
        return found->pw_dir;
    }
    return {};
}

std::filesystem::path ConfigFolder() {
    if (const char* dir = std::getenv("LUMORA_CONFIG_DIR"); dir && *dir) return dir;
    // The base directory rules only allow an absolute XDG_CONFIG_HOME.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        return std::filesystem::path(xdg) / "lumora";
    }
    const std::filesystem::path home = HomeFolder();
    return home.empty() ? home : home / ".config" / "lumora";
}

bool NameIsTaken(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

// Renames a damaged file to the first free "<file>.bad[.N]". The caller holds the lock,
// so no other Lumora process picks the same name meanwhile.
bool SetAside(const std::filesystem::path& file) {
    const std::string bad = file.string() + ".bad";
    for (int n = 0; n < kMaxSetAsideNames; ++n) {
        const std::filesystem::path candidate = n == 0 ? bad : bad + "." + std::to_string(n);
        if (NameIsTaken(candidate)) continue;
        return ::rename(file.c_str(), candidate.c_str()) == 0;
    }
    return false;
}

bool EnsureFolderOf(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    if (folder.empty()) return true;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return !error;
}

}  // namespace

std::filesystem::path SettingsStore::DefaultFile() {
    const std::filesystem::path folder = ConfigFolder();
    return folder.empty() ? folder : folder / kFileName;
}

std::filesystem::path SettingsStore::LockFile() const {
    return std::filesystem::path(file_.string() + ".lock");
}

RegDocument SettingsStore::Read() const {
    const AtomicFile::ReadResult read = AtomicFile::Read(file_);
    using Status = AtomicFile::ReadStatus;
    if (read.status == Status::kMissing || read.status == Status::kBusy) return {};
    if (read.status == Status::kOk) {
        if (std::optional<RegDocument> document = RegFileFormat::Parse(read.bytes)) {
            return std::move(*document);
        }
    }
    // Damaged. Look again under the lock: a writer may have replaced it meanwhile.
    const FileLock lock(LockFile());
    if (!lock.locked()) return {};
    return LoadLocked().value_or(RegDocument{});
}

std::optional<RegKeyEntry> SettingsStore::ReadKey(std::string_view path) const {
    const RegDocument document = Read();
    const RegKeyEntry* key = document.FindKey(path);
    if (!key) return std::nullopt;
    return *key;
}

std::optional<RegValue> SettingsStore::ReadValue(std::string_view path,
                                                 std::string_view name) const {
    const std::optional<RegKeyEntry> key = ReadKey(path);
    if (!key) return std::nullopt;
    const RegValue* value = RegDocument::FindValue(*key, name);
    if (!value) return std::nullopt;
    return *value;
}

bool SettingsStore::WriteValue(std::string_view path, RegValue value) const {
    if (!RegDocument::IsValidKeyPath(path)) return false;
    return Update([&](RegDocument& document) {
        document.SetValue(path, std::move(value));
        return Edit::kChanged;
    });
}

// Deleting what is not there leaves the file, and a folder not yet made, alone.
bool SettingsStore::DeleteValue(std::string_view path, std::string_view name) const {
    if (!ReadValue(path, name)) return true;
    return Update([&](RegDocument& document) {
        return document.RemoveValue(path, name) ? Edit::kChanged : Edit::kUnchanged;
    });
}

bool SettingsStore::DeleteKey(std::string_view path) const {
    if (!ReadKey(path)) return true;  // every key's parents exist, so it has no sub-keys either
    return Update([&](RegDocument& document) {
        if (document.HasSubKeys(path)) return Edit::kRefused;
        return document.RemoveKey(path) ? Edit::kChanged : Edit::kUnchanged;
    });
}

bool SettingsStore::Update(const std::function<Edit(RegDocument&)>& edit) const {
    if (file_.empty() || !EnsureFolderOf(file_)) return false;
    const FileLock lock(LockFile());
    if (!lock.locked()) return false;
    std::optional<RegDocument> document = LoadLocked();
    if (!document) return false;
    switch (edit(*document)) {
        case Edit::kRefused: return false;
        case Edit::kUnchanged: return true;
        case Edit::kChanged: break;
    }
    return AtomicFile::Replace(file_, RegFileFormat::Serialize(*document));
}

std::optional<RegDocument> SettingsStore::LoadLocked() const {
    AtomicFile::ReadResult read = AtomicFile::Read(file_);
    switch (read.status) {
        case AtomicFile::ReadStatus::kMissing: return RegDocument{};
        case AtomicFile::ReadStatus::kBusy: return std::nullopt;
        case AtomicFile::ReadStatus::kOk:
            if (auto document = RegFileFormat::Parse(read.bytes)) return document;
            break;
        case AtomicFile::ReadStatus::kUnreadable: break;
    }
    if (!SetAside(file_)) return std::nullopt;
    return RegDocument{};
}

}  // namespace lumora
