#include "video/recording_folder.h"

#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace lumora {
namespace {

constexpr int kMaxRecordingNumber = 999;

std::string VideosFolder() {
    const char* variable = std::getenv("XDG_VIDEOS_DIR");
    if (variable != nullptr && *variable != '\0') return variable;
    return QStandardPaths::writableLocation(QStandardPaths::MoviesLocation).toStdString();
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool CanOpen(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

}  // namespace

std::string RecordingFolder() { return WithSlash(VideosFolder()) + "Lumora/"; }

std::string NextRecordingFileName(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder, error)) return {};
    for (int number = 0; number <= kMaxRecordingNumber; ++number) {
        char name[16];
        std::snprintf(name, sizeof name, "video%3.3d.avi", number);
        const std::string path = folder + name;
        if (!CanOpen(path)) return path;
    }
    return {};
}

std::string NextRecordingFileName() { return NextRecordingFileName(RecordingFolder()); }

}  // namespace lumora
