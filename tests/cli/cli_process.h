// The programs of the build (lumora-cli, lumora-vcam) run as a user runs them — with the
// test devices and the offscreen platform — for the end-to-end tests, which read what they
// print and send them signals; and what the programs leave behind, read back: packet files,
// recordings (through ffprobe) and lumora-cli's summary line.
#pragma once

#include "frames/frame_packet.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumora::test {

struct ToolRun {
    int exitCode = -1;  // -1: it did not end in time (it was killed) or it crashed
    std::string out, err;
};

class ToolProcess {
public:
    // `program`: a file name in the program folder.
    explicit ToolProcess(const std::string& program, const QString& testDevices = {});
    ~ToolProcess();  // kills the program if it still runs

    void SetEnvironment(const QString& name, const QString& value);
    bool Start(const QStringList& arguments);
    // Waits until the program has written `text` to stderr; false when it ended or
    // `timeoutMs` passed first.
    bool WaitForError(const std::string& text, int timeoutMs);
    // Sends `signal` and starts the clock Wait() measures from.
    void Signal(int signal);
    // Waits up to `timeoutMs` for the end (kills the program after that).
    ToolRun Wait(int timeoutMs);
    // Milliseconds from Signal() to the end that Wait() saw.
    qint64 MillisecondsToEnd() const { return toEnd_; }

private:
    void Collect();

    QString program_;
    QProcess process_;
    std::string out_;
    std::string err_;
    QElapsedTimer sinceSignal_;
    qint64 toEnd_ = -1;
};

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

// Runs `program` to its end.
ToolRun RunTool(const std::string& program, const QStringList& arguments, const QString& testDevices = {},
                int timeoutMs = 60000);

// The packets of a packet file, checked one by one; stops at the first bad one. The
// payloads are kept only when asked for (a whole video's are hundreds of megabytes).
struct Packets {
    std::vector<FramePacketHeader> headers;
    std::vector<std::vector<unsigned char>> payloads;
    bool wellFormed = true;
};

Packets ReadPackets(const std::string& path, bool keepPayloads = true);

// The frames and dropped frames of "done: <frames> frames in ... <dropped> dropped".
std::optional<std::pair<int, int>> Summary(const std::string& err);

struct Probe {
    std::string codec;
    int width = 0, height = 0, frames = 0;
};

bool HaveFfprobe();
// The first video stream of a recording, its frames counted by decoding them.
std::optional<Probe> Ffprobe(const std::string& path);

}  // namespace lumora::test
