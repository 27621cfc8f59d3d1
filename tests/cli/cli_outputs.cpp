#include "cli_outputs.h"

#include "test_support.h"

#include <QRegularExpression>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace lumora::test {

PacketFile ReadPackets(const std::string& path, bool keepPayloads) {
    const std::vector<unsigned char> bytes = ReadFileBytes(path);
    PacketFile file;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto header = FramePacket::ParseHeader(bytes.data() + at, bytes.size() - at);
        if (!header || bytes.size() - at < FramePacket::kHeaderSize + header->payloadSize) {
            file.wellFormed = false;
            break;
        }
        file.headers.push_back(*header);
        const auto* payload = bytes.data() + at + FramePacket::kHeaderSize;
        if (keepPayloads) file.payloads.emplace_back(payload, payload + header->payloadSize);
        at += FramePacket::kHeaderSize + header->payloadSize;
    }
    return file;
}

std::optional<std::pair<int, int>> Summary(const std::string& err) {
    const QRegularExpression line("done: (\\d+) frames in .* (\\d+) dropped");
    const QRegularExpressionMatch match = line.match(QString::fromStdString(err));
    if (!match.hasMatch()) return std::nullopt;
    return std::make_pair(match.captured(1).toInt(), match.captured(2).toInt());
}

bool HaveFfprobe() { return std::system("command -v ffprobe >/dev/null 2>&1") == 0; }

std::optional<Probe> Ffprobe(const std::string& path) {
    const std::string command = "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                                "stream=codec_name,width,height,nb_read_frames -of csv=p=0 '" + path + "'";
    std::FILE* output = popen(command.c_str(), "r");
    if (output == nullptr) return std::nullopt;
    char codec[64] = {};
    Probe probe;
    const int read = std::fscanf(output, "%63[^,],%d,%d,%d", codec, &probe.width, &probe.height, &probe.frames);
    pclose(output);
    probe.codec = codec;
    return read == 4 ? std::optional<Probe>(probe) : std::nullopt;
}

}  // namespace lumora::test
