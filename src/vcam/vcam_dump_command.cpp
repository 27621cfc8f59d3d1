#include "vcam/vcam_dump_command.h"

#include "vcam/packet_stream_reader.h"
#include "vcam/y4m_writer.h"

#include <lumora/video_frame_layout.h>

#include <fcntl.h>
#include <unistd.h>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace lumora {

VcamDumpCommand::VcamDumpCommand(std::ostream& out, std::ostream& err, const TerminationSignalFlag* stop)
    : out_(out), err_(err), stop_(stop) {}

VcamDumpCommand::~VcamDumpCommand() = default;

int VcamDumpCommand::Run(const VcamDumpOptions& options) {
    options_ = options;
    report_ = {};
    y4m_.reset();
    saveFailed_ = false;
    if (!options_.pngFolder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options_.pngFolder, error);
        if (!std::filesystem::is_directory(options_.pngFolder)) {
            err_ << "cannot create the folder " << options_.pngFolder << "\n";
            return 2;
        }
    }
    if (!options_.y4mFile.empty()) {
        y4mStream_.open(options_.y4mFile, std::ios::binary | std::ios::trunc);
        if (!y4mStream_) {
            err_ << "cannot write " << options_.y4mFile << "\n";
            return 2;
        }
    }
    const int fd = ::open(options_.input.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        err_ << "cannot open " << options_.input << ": " << std::strerror(errno) << "\n";
        return 2;
    }
    PacketStreamReader reader(fd);
    const bool readToEnd = ReadAll(reader);
    ::close(fd);
    if (y4mStream_.is_open()) y4mStream_.close();
    PrintSummary();
    return readToEnd && report_.badPackets == 0 && !saveFailed_ ? 0 : 1;
}

// False when reading stopped early (read error or signal).
bool VcamDumpCommand::ReadAll(PacketStreamReader& reader) {
    for (;;) {
        const PacketStreamReader::Item item = reader.Next();
        switch (item.status) {
        case PacketStreamReader::Status::kPacket: {
            const int width = item.header.width;
            const int height = item.header.height;
            ++report_.packets;
            ++report_.sizes[{width, height}];
            out_ << "packet " << report_.packets << " at byte " << item.offset << ": " << width << "x" << height
                 << ", " << item.header.payloadSize << " bytes of pixels\n";
            if (!Save(item.pixels, width, height)) saveFailed_ = true;
            break;
        }
        case PacketStreamReader::Status::kBadData:
            ++report_.badPackets;
            report_.skippedBytes += item.skipped;
            out_ << "bad data at byte " << item.offset << ": " << item.error << "; skipped " << item.skipped
                 << " bytes\n";
            break;
        case PacketStreamReader::Status::kEnd:
            return true;
        case PacketStreamReader::Status::kInterrupted:
            if (stop_ && stop_->Raised()) {
                out_ << "stopped by a signal\n";
                return false;
            }
            break;
        case PacketStreamReader::Status::kReadError:
            err_ << "reading " << options_.input << " failed: " << item.error << "\n";
            return false;
        }
        if (stop_ && stop_->Raised()) {
            out_ << "stopped by a signal\n";
            return false;
        }
    }
}

bool VcamDumpCommand::Save(const std::uint8_t* pixels, int width, int height) {
    if (options_.pngFolder.empty() && !y4mStream_.is_open()) return true;
    bool ok = true;
    if (!options_.pngFolder.empty()) ok = SavePng(pixels, width, height);
    if (y4mStream_.is_open()) {
        if (!y4m_) y4m_ = std::make_unique<Y4mWriter>(y4mStream_, width, height, options_.framesPerSecond);
        if (!y4m_->WriteFrame(pixels, width, height)) {
            err_ << "writing " << options_.y4mFile << " failed\n";
            ok = false;
        }
    }
    if (ok) ++report_.framesSaved;
    return ok;
}

bool VcamDumpCommand::SavePng(const std::uint8_t* pixels, int width, int height) {
    const VideoFrameLayout layout = VideoFrameLayout::Of(width, height);
    const cv::Mat bottomUp(height, width, CV_8UC3, const_cast<std::uint8_t*>(pixels), layout.stride());
    cv::Mat upright;
    cv::flip(bottomUp, upright, 0);
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06llu.png", static_cast<unsigned long long>(report_.packets));
    const std::string path = (std::filesystem::path(options_.pngFolder) / name).string();
    bool written = false;
    try {
        written = cv::imwrite(path, upright);
    } catch (const cv::Exception&) {
        written = false;
    }
    if (!written) err_ << "cannot write " << path << "\n";
    return written;
}

void VcamDumpCommand::PrintSummary() {
    out_ << report_.packets << " good packet" << (report_.packets == 1 ? "" : "s") << ", " << report_.badPackets
         << " bad (" << report_.skippedBytes << " bytes skipped)";
    for (const auto& [size, count] : report_.sizes) out_ << "; " << size.first << "x" << size.second << ": " << count;
    out_ << "\n";
    if (report_.framesSaved > 0) {
        out_ << report_.framesSaved << " frame" << (report_.framesSaved == 1 ? "" : "s") << " saved to "
             << (options_.pngFolder.empty() ? options_.y4mFile : options_.pngFolder) << "\n";
    }
}

}  // namespace lumora
