#include "platform/autostart_entry.h"

#include "platform/atomic_file.h"
#include "platform/desktop_entry.h"
#include "platform/user_folders.h"

#include <system_error>

namespace lumora {

AutostartEntry AutostartEntry::ForThisProgram() { return AutostartEntry(DefaultFile(), RunningProgram()); }

std::filesystem::path AutostartEntry::DefaultFile() {
    const std::filesystem::path config = ConfigHome();
    return config.empty() ? config : config / "autostart" / "lumora.desktop";
}

std::string AutostartEntry::RunningProgram() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

bool AutostartEntry::IsEnabled() const {
    // A file that cannot be read starts nothing: the desktop cannot read it either.
    const AtomicFile::ReadResult read = AtomicFile::Read(file_);
    return read.status == AtomicFile::ReadStatus::kOk && !DesktopEntry::Parse(read.bytes).GetBoolean("Hidden");
}

bool AutostartEntry::Enable() const {
    if (file_.empty() || program_.empty() || program_.front() != '/') return false;
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    return !error && AtomicFile::Replace(file_, Contents());
}

bool AutostartEntry::Disable() const {
    std::error_code error;
    std::filesystem::remove(file_, error);
    return !error;
}

std::string AutostartEntry::Contents() const {
    DesktopEntry entry;
    entry.Set("Type", "Application");
    entry.Set("Name", "Lumora");
    entry.Set("Comment", "Webcam effects and a virtual camera");
    entry.Set("Exec", DesktopEntry::QuoteExecArgument(program_));
    entry.Set("Icon", "lumora");
    entry.Set("Terminal", "false");
    return entry.Text();
}

}  // namespace lumora
