// AutostartEntry: "start Lumora at login", kept as an XDG autostart entry: the file
// lumora.desktop in $XDG_CONFIG_HOME/autostart (~/.config/autostart when that variable
// is unset or not an absolute path). Desktops start the program its Exec line names
// when the user logs in.
//
// The entry counts as on while the file exists and does not say Hidden=true (which is how
// a desktop's settings switch an entry off); a file that cannot be read counts as off,
// since the desktop cannot read it either. Enable writes the file atomically (a crash
// leaves the old file or the new one), creating the folder; its Exec is the program's
// absolute path, quoted where the path needs it. Disable removes the file.
//
// A value object naming two paths; it keeps no file open. Any thread may use it, but two
// objects writing the same file at once are not serialised (the last one wins).
#pragma once

#include <filesystem>
#include <string>

namespace lumora {

class AutostartEntry {
public:
    AutostartEntry(std::filesystem::path file, std::string program)
            : file_(std::move(file)), program_(std::move(program)) {}

    // The entry of the running executable (from /proc/self/exe) at DefaultFile().
    static AutostartEntry ForThisProgram();
    // $XDG_CONFIG_HOME/autostart/lumora.desktop, looked up on every call; empty when
    // there is no home folder to be found.
    static std::filesystem::path DefaultFile();
    // The running executable's absolute path; empty when it cannot be read.
    static std::string RunningProgram();

    const std::filesystem::path& file() const { return file_; }
    const std::string& program() const { return program_; }

    bool IsEnabled() const;
    // False, with nothing written, when the program path is empty or not absolute, or the
    // file cannot be written.
    bool Enable() const;
    // True when no file is left, also when there was none.
    bool Disable() const;

    // What Enable writes.
    std::string Contents() const;

private:
    std::filesystem::path file_;
    std::string program_;
};

}  // namespace lumora
