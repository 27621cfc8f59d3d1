// What the programs leave behind, read back for the end-to-end tests: packet files,
// recordings (through ffprobe) and lumora-cli's summary line.
#pragma once

#include "frames/frame_packet.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumora::test {

// The packets of a packet file, checked one by one; stops at the first bad one. The
// payloads are kept only when asked for (a whole video's are hundreds of megabytes).
struct PacketFile {
    std::vector<FramePacketHeader> headers;
    std::vector<std::vector<unsigned char>> payloads;
    bool wellFormed = true;
};

PacketFile ReadPackets(const std::string& path, bool keepPayloads = true);

// The frames and dropped frames of "done: <frames> frames in ... <dropped> dropped".
std::optional<std::pair<int, int>> Summary(const std::string& err);

struct Probe {
    std::string codec;
    int width = 0;
    int height = 0;
    int frames = 0;
};

bool HaveFfprobe();
// The first video stream of a recording, its frames counted by decoding them.
std::optional<Probe> Ffprobe(const std::string& path);

}  // namespace lumora::test
