#include "skins/skin_item_files.h"

#include "platform/file_descriptor.h"
#include "skins/skin_ini.h"

#include <QString>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>

namespace lumora {
namespace {

// Writes all of `size` bytes; false with errno set when a write fails.
bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = EIO;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CopyBytes(int from, int to) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        if (!WriteAll(to, buffer, static_cast<std::size_t>(got))) return false;
    }
}

// Opens a regular file for reading; never waits on a FIFO or a device at the path.
FileDescriptor OpenRegularFile(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    if (!fd.valid() || ::fstat(fd.get(), &status) != 0) return {};
    if (!S_ISREG(status.st_mode)) {
        errno = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        return {};
    }
    return fd;
}

// A name that stays inside the folder it is joined to: no ".." part.
bool StaysInside(const std::string& name) {
    for (const auto& part : std::filesystem::path(name)) {
        if (part == "..") return false;
    }
    return !name.empty();
}

bool Exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// Removes a temporary file unless it was moved to its place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) {
            const int reason = errno;
            ::unlink(path_.c_str());
            errno = reason;
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void Release() { path_.clear(); }

private:
    std::string path_;
};

}  // namespace

std::string SkinItemFiles::Value(const SkinItem& item) const {
    return ReadSkinValue(Ini(), GetCategorySection(GetItemCategory(item.id)), item.key);
}

SkinItemFiles::PictureSet SkinItemFiles::SetPicture(const SkinItem& item, const std::string& source) {
    const auto slash = source.rfind('/');
    const std::string sourceFolder = slash == std::string::npos ? std::string() : source.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? source : source.substr(slash + 1);
    if (name.empty()) {
        errno = EISDIR;
        return PictureSet::kFailed;
    }
    if (IsInFolder(sourceFolder, name)) {
        return Write(item, item.key, name) ? PictureSet::kNamed : PictureSet::kFailed;
    }
    const std::string old = Value(item);
    // A new picture of the item's own file name takes the old one's place; any other
    // file of that name belongs to someone else.
    const bool replace = old == name;
    if (!replace && Exists(folder_ + name)) {
        errno = EEXIST;
        return PictureSet::kFailed;
    }
    if (!CopyIn(source, name, replace)) return PictureSet::kFailed;
    if (replace) return PictureSet::kCopied;
    if (!Write(item, item.key, name)) {
        const int reason = errno;
        ::unlink((folder_ + name).c_str());
        errno = reason;
        return PictureSet::kFailed;
    }
    if (!old.empty()) DeleteUnused(old, item.id);
    return PictureSet::kCopied;
}

bool SkinItemFiles::RemovePicture(const SkinItem& item) {
    const std::string value = Value(item);
    if (value.empty()) return true;
    if (StaysInside(value) && !IsNamedByOtherItem(value, item.id) && ::unlink((folder_ + value).c_str()) != 0 &&
        errno != ENOENT) {
        return false;
    }
    return Write(item, item.key, "");
}

bool SkinItemFiles::SetColour(const SkinItem& item, SkinColour colour) {
    return Write(item, item.key, FormatSkinColour(colour));
}

bool SkinItemFiles::SetFont(const SkinItem& item, const SkinFont& font) {
    const auto flag = [](std::uint8_t on) { return on ? "1" : "0"; };
    return Write(item, kFontFaceKey, font.face) && Write(item, kFontSizeKey, std::to_string(font.size)) &&
           Write(item, kFontBoldKey, flag(font.bold)) && Write(item, kFontItalicKey, flag(font.italic)) &&
           Write(item, kFontUnderlineKey, flag(font.underline));
}

bool SkinItemFiles::IsInFolder(const std::string& sourceFolder, const std::string& name) const {
    std::error_code error;
    const bool sameFolder =
        QString::fromStdString(sourceFolder).toLower() == QString::fromStdString(folder_).toLower() ||
        (!sourceFolder.empty() && std::filesystem::equivalent(sourceFolder, folder_, error));
    // Names are matched as the file system matches them: a folder that differs only in
    // case is another folder here, and naming a picture it does not hold would name none.
    return sameFolder && IsRegularFile(folder_ + name);
}

bool SkinItemFiles::IsNamedByOtherItem(const std::string& name, int itemId) const {
    const std::optional<SkinIni> ini = SkinIni::Load(Ini());
    if (!ini) return false;
    for (const SkinItem& other : SkinItems()) {
        if (other.kind == SkinItemKind::kBitmap && other.id != itemId &&
            ini->Value(GetCategorySection(GetItemCategory(other.id)), other.key) == name) {
            return true;
        }
    }
    return false;
}

void SkinItemFiles::DeleteUnused(const std::string& name, int itemId) const {
    // A picture left behind costs nothing; one deleted under another item loses it.
    if (StaysInside(name) && !IsNamedByOtherItem(name, itemId)) ::unlink((folder_ + name).c_str());
}

bool SkinItemFiles::Write(const SkinItem& item, std::string_view key, std::string_view value) const {
    errno = 0;
    return WriteSkinValue(Ini(), GetCategorySection(GetItemCategory(item.id)), key, value);
}

bool SkinItemFiles::CopyIn(const std::string& source, const std::string& name, bool replace) const {
    const FileDescriptor in = OpenRegularFile(source);
    if (!in.valid()) return false;
    std::string temporary = folder_ + ".lumora-picture-XXXXXX";
    FileDescriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!out.valid()) return false;
    TemporaryFile guard(temporary);
    // Readable by all, as a picture copied by hand would be.
    if (::fchmod(out.get(), 0644) != 0 || !CopyBytes(in.get(), out.get()) || ::fsync(out.get()) != 0 || !out.Close()) {
        return false;
    }
    if (!MoveInto(temporary, folder_ + name, replace)) return false;
    guard.Release();
    return true;
}

bool SkinItemFiles::MoveInto(const std::string& temporary, const std::string& target, bool replace) const {
    if (replace) return ::rename(temporary.c_str(), target.c_str()) == 0;
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
    // File systems without the flag: as close as they allow.
    if (errno != EINVAL && errno != ENOSYS) return false;
    if (Exists(target)) {
        errno = EEXIST;
        return false;
    }
    return ::rename(temporary.c_str(), target.c_str()) == 0;
}

}  // namespace lumora
