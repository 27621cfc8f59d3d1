#include "vcam/vcam_dump_command.h"

#include "vcam/file_output.h"
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
#include <vector>

namespace lumora {

VcamDumpCommand::VcamDumpCommand(std::ostream& out, std::ostream& err, const TerminationSignalFlag* stop)
    : out_(out), err_(err), stop_(stop) {}

VcamDumpCommand::~VcamDumpCommand() = default;

int VcamDumpCommand::Run(const VcamDumpOptions& options) {
    options_ = options;
    report_ = {};
    writeFailed_ = false;
    y4m_.reset();
    y4mFile_.reset();
    if (!OpenOutputs()) return 1;
    const int fd = ::open(options_.input.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        err_ << "cannot open " << options_.input << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    PacketStreamReader reader(fd);
    const bool complete = ReadAll(reader);
    ::close(fd);
    const bool written = !writeFailed_ && (!y4mFile_ || y4mFile_->Close());
    if (!writeFailed_ && !written) err_ << "cannot write " << options_.y4mFile << ": " << y4mFile_->Failure() << "\n";
    PrintSummary(written);
    return complete && written && report_.badPackets == 0 ? 0 : 1;
}

bool VcamDumpCommand::OpenOutputs() {
    if (!options_.pngFolder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options_.pngFolder, error);
        if (!std::filesystem::is_directory(options_.pngFolder)) {
            err_ << "cannot create the folder " << options_.pngFolder << ": "
                 << (error ? error.message() : std::strerror(ENOTDIR)) << "\n";
            return false;
        }
    }
    if (!options_.y4mFile.empty()) {
        y4mFile_ = std::make_unique<FileOutput>(options_.y4mFile);
        if (!y4mFile_->Ok()) {
            err_ << "cannot write " << options_.y4mFile << ": " << y4mFile_->Failure() << "\n";
            return false;
        }
    }
    return true;
}

bool VcamDumpCommand::Stopped() {
    if (!stop_ || !stop_->Raised()) return false;
    out_ << "stopped by a signal\n";
    return true;
}

// False when reading stopped early (read error, signal, a frame that could not be saved).
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
            if (!Save(item.pixels, width, height)) {
                writeFailed_ = true;
                return false;
            }
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
            break;
        case PacketStreamReader::Status::kReadError:
            err_ << "reading " << options_.input << " failed: " << item.error << "\n";
            return false;
        }
        if (Stopped()) return false;
    }
}

bool VcamDumpCommand::Save(const std::uint8_t* pixels, int width, int height) {
    if (options_.pngFolder.empty() && !y4mFile_) return true;
    if (!options_.pngFolder.empty() && !SavePng(pixels, width, height)) return false;
    if (y4mFile_ && !SaveY4m(pixels, width, height)) return false;
    ++report_.framesSaved;
    return true;
}

bool VcamDumpCommand::SavePng(const std::uint8_t* pixels, int width, int height) {
    const VideoFrameLayout layout = VideoFrameLayout::Of(width, height);
    const cv::Mat bottomUp(height, width, CV_8UC3, const_cast<std::uint8_t*>(pixels), layout.stride());
    cv::Mat upright;
    cv::flip(bottomUp, upright, 0);
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06llu.png", static_cast<unsigned long long>(report_.packets));
    const std::string path = (std::filesystem::path(options_.pngFolder) / name).string();
    std::vector<unsigned char> encoded;
    bool ok = false;
    try {
        ok = cv::imencode(".png", upright, encoded);
    } catch (const cv::Exception&) {
        ok = false;
    }
    if (!ok) {
        err_ << "cannot write " << path << ": the frame could not be encoded as PNG\n";
        return false;
    }
    FileOutput file(path);
    if (!file.Write(encoded.data(), encoded.size()) || !file.Close()) {
        err_ << "cannot write " << path << ": " << file.Failure() << "\n";
        return false;
    }
    return true;
}

bool VcamDumpCommand::SaveY4m(const std::uint8_t* pixels, int width, int height) {
    if (!y4m_) y4m_ = std::make_unique<Y4mWriter>(*y4mFile_, width, height, options_.framesPerSecond);
    if (y4m_->WriteFrame(pixels, width, height)) return true;
    err_ << "cannot write " << options_.y4mFile << ": "
         << (y4mFile_->Failure().empty() ? "the frame could not be converted" : y4mFile_->Failure()) << "\n";
    return false;
}

void VcamDumpCommand::PrintSummary(bool written) {
    out_ << report_.packets << " good packet" << (report_.packets == 1 ? "" : "s") << ", " << report_.badPackets
         << " bad (" << report_.skippedBytes << " bytes skipped)";
    for (const auto& [size, count] : report_.sizes) out_ << "; " << size.first << "x" << size.second << ": " << count;
    out_ << "\n";
    if (written && report_.framesSaved > 0) {
        out_ << report_.framesSaved << " frame" << (report_.framesSaved == 1 ? "" : "s") << " saved to "
             << (options_.pngFolder.empty() ? options_.y4mFile : options_.pngFolder) << "\n";
    }
}

}  // namespace lumora
