#include "platform/settings_store.h"

#include "platform/atomic_file.h"
#include "platform/file_lock.h"
#include "platform/reg_file_format.h"
#include "platform/settings_cache.h"

#include <cerrno>
#include <cstdio>
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

std::shared_ptr<const RegDocument> EmptyDocument() {
    static const auto empty = std::make_shared<const RegDocument>();
    return empty;
}

bool NameIsTaken(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

// Renames a damaged file to the first free "<file>.bad[.N]" and answers that name. The
// caller holds the lock, so no other Lumora process picks the same name meanwhile.
std::optional<std::filesystem::path> SetAside(const std::filesystem::path& file) {
    const std::string bad = file.string() + ".bad";
    for (int n = 0; n < kMaxSetAsideNames; ++n) {
        const std::filesystem::path candidate = n == 0 ? bad : bad + "." + std::to_string(n);
        if (NameIsTaken(candidate)) continue;
        if (::rename(file.c_str(), candidate.c_str()) != 0) return std::nullopt;
        return candidate;
    }
    return std::nullopt;
}

void ReportSetAside(const std::filesystem::path& file, const std::filesystem::path& aside) {
    std::fprintf(stderr,
                 "Lumora: the settings file \"%s\" could not be read as settings and was moved to \"%s\"; "
                 "defaults are used.\n",
                 file.c_str(), aside.c_str());
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

std::shared_ptr<const RegDocument> SettingsStore::Read() const {
    Loaded loaded = Load();
    if (loaded.state == FileState::kDamaged) {
        // Look again under the lock: a writer may have replaced it meanwhile.
        const FileLock lock(LockFile());
        if (lock.locked()) loaded = LoadSettingAsideDamage();
    }
    return loaded.document ? loaded.document : EmptyDocument();
}

std::optional<RegKeyEntry> SettingsStore::ReadKey(std::string_view path) const {
    const std::shared_ptr<const RegDocument> document = Read();
    const RegKeyEntry* key = document->FindKey(path);
    if (!key) return std::nullopt;
    return *key;
}

std::optional<RegValue> SettingsStore::ReadValue(std::string_view path,
                                                 std::string_view name) const {
    const std::shared_ptr<const RegDocument> document = Read();
    const RegValue* value = document->FindValue(path, name);
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

// Deleting what is not there leaves the file, and a folder not yet made, alone. A file
// that cannot be read is not known to lack the value, so the delete goes on (and fails).
bool SettingsStore::DeleteValue(std::string_view path, std::string_view name) const {
    const Loaded loaded = Load();
    if (loaded.document && !loaded.document->FindValue(path, name)) return true;
    return Update([&](RegDocument& document) {
        return document.RemoveValue(path, name) ? Edit::kChanged : Edit::kUnchanged;
    });
}

bool SettingsStore::DeleteKey(std::string_view path) const {
    // Every key's parents exist, so a key that is not there has no sub-keys either.
    const Loaded loaded = Load();
    if (loaded.document && !loaded.document->FindKey(path)) return true;
    return Update([&](RegDocument& document) {
        if (document.HasSubKeys(path)) return Edit::kRefused;
        return document.RemoveKey(path) ? Edit::kChanged : Edit::kUnchanged;
    });
}

bool SettingsStore::Update(const std::function<Edit(RegDocument&)>& edit) const {
    if (file_.empty() || !EnsureFolderOf(file_)) return false;
    const FileLock lock(LockFile());
    if (!lock.locked()) return false;
    const Loaded loaded = LoadSettingAsideDamage();
    if (!loaded.document) return false;
    auto document = std::make_shared<RegDocument>(*loaded.document);
    switch (edit(*document)) {
        case Edit::kRefused: return false;
        case Edit::kUnchanged: return true;
        case Edit::kChanged: break;
    }
    std::optional<AtomicFile::OpenedFile> written;
    if (!AtomicFile::Replace(file_, RegFileFormat::Serialize(*document), &written)) return false;
    if (written) SettingsCache::Shared().Keep(file_, std::move(*written), std::move(document));
    return true;
}

SettingsStore::Loaded SettingsStore::Load() const {
    if (file_.empty()) return {FileState::kRead, EmptyDocument()};
    const std::optional<FileStamp> now = FileStamp::Of(file_);
    if (!now) {
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        return missing ? Loaded{FileState::kRead, EmptyDocument()} : Loaded{};
    }
    SettingsCache& cache = SettingsCache::Shared();
    if (auto cached = cache.Find(file_, *now)) return {FileState::kRead, std::move(cached)};

    AtomicFile::ReadResult read = AtomicFile::Read(file_);
    switch (read.status) {
        case AtomicFile::ReadStatus::kMissing: return {FileState::kRead, EmptyDocument()};
        case AtomicFile::ReadStatus::kBusy:
        case AtomicFile::ReadStatus::kUnreadable: return {};
        case AtomicFile::ReadStatus::kOk: break;
    }
    std::optional<RegDocument> parsed = RegFileFormat::Parse(read.bytes);
    if (!parsed) return {FileState::kDamaged, nullptr};
    auto document = std::make_shared<const RegDocument>(std::move(*parsed));
    cache.Keep(file_, std::move(read.file), document);
    return {FileState::kRead, std::move(document)};
}

SettingsStore::Loaded SettingsStore::LoadSettingAsideDamage() const {
    Loaded loaded = Load();
    if (loaded.state != FileState::kDamaged) return loaded;
    const std::optional<std::filesystem::path> aside = SetAside(file_);
    if (!aside) return {};
    ReportSetAside(file_, *aside);
    return {FileState::kRead, EmptyDocument()};
}

}  // namespace lumora
