// SourceArgument: the --source argument of `lumora-cli run`, parsed.
//
//   device:<index>            a capture device, numbered as `lumora-cli devices` lists them
//   file:<path>[,<path>...]   video files played one after the other
//   playlist:<file.pls>       the files of a playlist
//   image:<path>              a picture streamed as video
//   desktop[:<x>,<y>,<w>,<h>] a rectangle of the screen (the whole screen without one)
//   pattern[:<name>]          a test camera showing a videotestsrc pattern (default smpte)
//
// A plain value; Parse has no side effects (files are not looked at).
#pragma once

#include <lumora/zimage.h>

#include <optional>
#include <string>
#include <vector>

namespace lumora::cli {

struct SourceArgument {
    enum class Kind { kSamplePicture, kDevice, kFiles, kPlaylist, kImage, kDesktop, kPattern };

    Kind kind = Kind::kSamplePicture;
    int deviceIndex = -1;
    std::vector<std::string> files;  // kFiles
    std::string path;                // kPlaylist, kImage
    std::optional<ZImageRect> desktopRect;
    std::string pattern = "smpte";

    // The source, or none with `error` saying what is wrong.
    static std::optional<SourceArgument> Parse(const std::string& text, std::string* error);

    // Pictures, the desktop and patterns take --size and --fps; devices and files do not.
    bool TakesOutputFormat() const;
};

}  // namespace lumora::cli
