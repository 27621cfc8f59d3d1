// `lumora-vcam dump <file|fifo> [--png DIR | --y4m FILE]`: reads a packet stream, checks
// every packet, prints what it finds (each packet's size, each error and how far it had
// to skip) and a summary, and can write the frames the right way up as PNG files
// (DIR/frame-000001.png, ...) or as one y4m stream (its size is the first frame's).
//
// Stops at the end of the stream, on a read error, at the first frame it cannot write
// (the message names the file and the system's reason), or when `stop` reports a
// termination signal. One thread; `stop` (optional) must outlive the command.
#pragma once

#include "vcam/termination_signal_flag.h"

#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

namespace lumora {

class FileOutput;
class PacketStreamReader;
class Y4mWriter;

struct VcamDumpOptions {
    std::string input;
    std::string pngFolder;  // empty: no PNG files
    std::string y4mFile;    // empty: no y4m stream
    int framesPerSecond = 30;  // written into the y4m header
};

struct VcamDumpReport {
    std::uint64_t packets = 0;     // good packets
    std::uint64_t badPackets = 0;  // places where the stream held no good packet
    std::uint64_t skippedBytes = 0;
    std::uint64_t framesSaved = 0;  // PNG files or y4m frames
    std::map<std::pair<int, int>, std::uint64_t> sizes;  // packets of each width x height
};

class VcamDumpCommand {
public:
    VcamDumpCommand(std::ostream& out, std::ostream& err, const TerminationSignalFlag* stop = nullptr);
    ~VcamDumpCommand();

    // 0 when the whole stream was read, every packet was good and every frame saved;
    // 1 otherwise, also when the input cannot be opened or an output cannot be written.
    int Run(const VcamDumpOptions& options);
    const VcamDumpReport& report() const { return report_; }

private:
    bool OpenOutputs();
    bool ReadAll(PacketStreamReader& reader);
    bool Save(const std::uint8_t* pixels, int width, int height);
    bool SavePng(const std::uint8_t* pixels, int width, int height);
    bool SaveY4m(const std::uint8_t* pixels, int width, int height);
    bool Stopped();
    // `written`: every frame went out, so the files can be named as saved.
    void PrintSummary(bool written);

    std::ostream& out_;
    std::ostream& err_;
    const TerminationSignalFlag* stop_;
    VcamDumpOptions options_;
    VcamDumpReport report_;
    std::unique_ptr<FileOutput> y4mFile_;
    std::unique_ptr<Y4mWriter> y4m_;
    bool writeFailed_ = false;
};

}  // namespace lumora
