// SourceConnector: connects the current source of the Video source menu (ConnectSource)
// and, when that fails, leaves the program with no source at all (ResetSource).
//
// ConnectSource builds the source's graph (a capture device, the playlist's current file,
// the desktop's 640 x 480 corner at 5 frames per second, the chosen picture at 640 x 480
// and 30), lays the main window out for the video, rebuilds the Video options menu, starts
// the effects afresh and runs the graph; "Photos..." is enabled, "Videos..." only for a
// capture device. A video file that does not build is dropped from the playlist and the
// next one is tried until one plays or none is left. A capture device, desktop or picture
// that does not build resets the source; a device that has gone says "Couldn't connect to
// specified video source device!". With restart (the recording commands) a running capture
// graph is rebuilt with or without its recording branch instead.
//
// ResetSource tears the graph down completely, clears the source selection and the active
// effects, disables "Videos..." and "Photos..." and leaves the Video options menu with "No
// options available".
//
// Thread: user-interface thread. Lifetime: everything it is given is borrowed and must
// outlive it; the hooks are optional (the recording dialog and the options window plug in
// there).
#pragma once

#include <functional>
#include <string>

namespace lumora {

class CaptureDeviceList;
class EffectChain;
class FileMenu;
class FrameStore;
class MainWindow;
class SourceGraph;
class VideoOptionsMenu;
class VideoSourceMenu;

class SourceConnector {
public:
    struct Parts {
        SourceGraph& graph;
        FrameStore& store;
        CaptureDeviceList& devices;
        EffectChain& effects;
        VideoSourceMenu& sources;
        VideoOptionsMenu& options;
        FileMenu& file;
        MainWindow& window;
    };
    struct Hooks {
        std::function<std::string()> recordingFileName;  // the recording dialog's destination
        std::function<void(bool)> showElapsedTime;       // the recording dialog's elapsed time on/off
        std::function<void()> hideRecordingDialog;
        std::function<void()> updateOptionsEnabling;  // the options window follows the source
    };

    SourceConnector(Parts parts, Hooks hooks = {});

    // Answers whether the source was built.
    bool ConnectSource(bool restartCapture, bool record);
    void ResetSource();

    // Lays the main window out for the frame store's video (at start-up, after each
    // connection and after a device's format page).
    void LayoutMainWindow();

    Hooks& hooks() { return hooks_; }

private:
    enum class Build { kBuilt, kFailed, kStop };

    Build BuildCaptureDevice(int index, bool restartCapture, bool record);
    Build BuildVideoFile();
    Build BuildImageFile();
    void FinishConnection(int sourceId);
    void UpdateOptionsEnabling();
    void ShowElapsedTime(bool on);

    Parts parts_;
    Hooks hooks_;
};

}  // namespace lumora
