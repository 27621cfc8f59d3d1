// SourceSelection: turns the --source of `lumora-cli run` into source graph selections —
// one selection for a device, picture, desktop or pattern, one per file for files and
// playlists (played once, in order; a file that fails to build is reported by the graph,
// named through the skip report, and skipped).
//
// Thread: user-interface thread. Lifetime: borrows the graph, which must outlive it.
#pragma once

#include "cli/cli_arguments.h"
#include "tools/playlist.h"

#include <functional>
#include <optional>
#include <string>

namespace lumora {
class CaptureDeviceList;
class SourceGraph;
}

namespace lumora::cli {

class SourceSelection {
public:
    // Told the path of every file that cannot be played.
    using SkipReport = std::function<void(const std::string& path)>;

    // `devices`: the capture devices as listed for the run (device:N counts in them).
    SourceSelection(const RunOptions& options, const CaptureDeviceList& devices, SourceGraph& graph,
                    SkipReport skipped);

    // Reads the playlist file of a playlist source. False, with Error() set, when it
    // cannot be read or names no file, or when a recording is asked for more than one file.
    bool Prepare();

    // Selects the first source; for files, the first one that builds. False when none did
    // (the graph has shown why, or Error() says).
    bool SelectFirst();
    // Files: selects the next file that builds. False when no file is left.
    bool SelectNext();

    // Files that failed to build so far.
    int Failures() const { return failures_; }
    // The file playing now; none for other sources.
    std::optional<std::string> CurrentFile() const;
    const std::string& Error() const { return error_; }

private:
    bool SelectSingle();
    bool SelectPattern();
    bool SelectDevice();
    bool SelectDesktop();
    bool SelectFileFrom(int index);

    const RunOptions& options_;
    const CaptureDeviceList& devices_;
    SourceGraph& graph_;
    SkipReport skipped_;
    Playlist playlist_;
    int failures_ = 0;
    std::string error_;
};

}  // namespace lumora::cli
