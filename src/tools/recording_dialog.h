// RecordingDialog: "Recording to file", the modeless panel for recording a capture device:
// the destination file (Browse...: a save dialog starting at the next free default name,
// $XDG_VIDEOS_DIR/Lumora/video000.avi ...), the compressor ("(No compression)", then the
// compressor list; choosing one shows its configuration dialog), start and stop (commands
// 2020 and 2021 posted to the main window), the elapsed time and the recorded size while
// recording, and the last recorded file: played in the status area with the position
// trackbar, stopped, or deleted after a question.
//
// States: idle -> waiting (Start or Stop posted: every control disabled) -> recording
// (SetRecordingState(true)) -> waiting -> idle (SetRecordingState(false)); idle -> playing
// -> idle. Start stops a playback first; Play is disabled while recording. Closing (Close,
// Esc) and HideAndStop hide the dialog, ending a recording or a playback; the dialog itself
// lives on.
//
// Thread: user-interface thread. Lifetime: the compressor list and the byte counter are
// borrowed and must outlive the dialog; the two functions are called on this thread.
#pragma once

#include "platform/template_dialog.h"
#include "tools/recording_playback.h"

#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace lumora {

class CompressorList;
class RecordedBytesCounter;

class RecordingDialog : public TemplateDialog {
    Q_OBJECT
public:
    enum : int {
        kIdDelete = 1038,
        kIdPosition = 1040,
        kIdPlay = 1048,
        kIdDestination = 1053,
        kIdBrowse = 1054,
        kIdCompressor = 1055,
        kIdStart = 1056,
        kIdStop = 1057,
        kIdStatus = 1058,
        kIdElapsed = 1060,
        kIdSize = 1061,
    };
    static constexpr int kNoCompression = 3700;

    struct Parts {
        CompressorList& compressors;
        RecordedBytesCounter& counter;
        std::function<std::string()> recordingFileName;  // the file the graph records into
        std::function<void(int command)> postCommand;    // to the main window
    };

    RecordingDialog(Parts parts, QWidget* parent);

    // "Videos...": shown and brought to the front.
    void ShowDialog();
    // Hidden, a recording stopped (through the main window) or a playback ended.
    void HideAndStop();

    // The main window's word that a recording runs (true) or not.
    void SetRecordingState(bool recording);
    bool Recording() const { return recording_; }
    // The destination line, at most 255 characters.
    std::string DestinationFile() const;
    void SetDestinationFile(const std::string& file);

    const std::optional<std::string>& LastRecordedFile() const { return lastFile_; }
    const RecordingPlayback& Playback() const { return playback_; }

protected:
    void OnCommand(int id) override;

private:
    void PlaceControls();
    void PlaceBitmapButton(int id, const DialogRect& rect, const QIcon& icon);
    void FillCompressors();
    void CompressorChosen(int index);
    void RefreshControls();
    void DisableAll();
    void Browse();
    void Start();
    void Stop();
    void Play();
    void StopPlayback();
    void Delete();
    void Tick();
    void ShowRecordingFigures();
    void FollowPlayback();
    void Seek(int position);
    void ShowFrame(const QImage& frame);

    Parts parts_;
    QLineEdit* destination_ = nullptr;
    QComboBox* compressors_ = nullptr;
    QSlider* position_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer timer_;
    RecordingPlayback playback_;
    bool recording_ = false;
    std::chrono::steady_clock::time_point started_;
    std::optional<std::string> lastFile_;
};

}  // namespace lumora
