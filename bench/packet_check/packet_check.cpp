// lumora-packet-check: reads a packet stream (a FIFO lumora-cli writes to, or a file) to
// its end and checks every packet: a whole, valid packet, of the expected frame size when
// one is given. Prints a line every --report seconds and a summary at the end:
//
//   packet-check: 1800 packets in 60.0 s, 30.00 fps (last 60 s: 30.00 fps), 0 invalid
//   packet-check: done: 108000 packets of 1280x720 in 3600.0 s, 30.00 fps, 0 invalid
//
// Exits 0 when every packet was valid, there was at least one, and the rate over the
// whole stream (first packet to last) reached --min-fps; 1 otherwise; 2 on a usage error.
//
//   lumora-packet-check PATH [--size WxH] [--min-fps N] [--report SECONDS]

#include "vcam/packet_stream_reader.h"
#include "vcam/termination_signal_flag.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using lumora::PacketStreamReader;

struct Options {
    std::string path;
    int width = 0;  // 0: any size
    int height = 0;
    double minFps = 0;
    double reportSeconds = 60;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (word == "--size" && value && std::sscanf(value, "%dx%d", &options.width, &options.height) == 2) {
            ++i;
        } else if (word == "--min-fps" && value) {
            options.minFps = std::atof(argv[++i]);
        } else if (word == "--report" && value && std::atof(value) > 0) {
            options.reportSeconds = std::atof(argv[++i]);
        } else if (options.path.empty() && !word.starts_with("--")) {
            options.path = word;
        } else {
            return std::nullopt;
        }
    }
    if (options.path.empty()) return std::nullopt;
    return options;
}

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

class Tally {
public:
    explicit Tally(const Options& options) : options_(options) {}

    // Counts one item; says on stderr what is wrong with an invalid one.
    void Take(const PacketStreamReader::Item& item) {
        const Clock::time_point now = Clock::now();
        if (item.status == PacketStreamReader::Status::kBadData) {
            Invalid(item.offset, item.error + " (" + std::to_string(item.skipped) + " bytes passed over)");
            return;
        }
        if (options_.width > 0 && (item.header.width != options_.width || item.header.height != options_.height)) {
            Invalid(item.offset,
                    "a frame of " + std::to_string(item.header.width) + "x" + std::to_string(item.header.height));
            return;
        }
        if (packets_ == 0) {
            first_ = lastReport_ = now;
            width_ = item.header.width;
            height_ = item.header.height;
        }
        last_ = now;
        ++packets_;
        if (Seconds(now - lastReport_) >= options_.reportSeconds) Report(now);
    }

    // The summary; true when the stream passed.
    bool Finish() const {
        const double fps = Rate(packets_, last_ - first_);
        std::printf("packet-check: done: %llu packets of %dx%d in %.1f s, %.2f fps, %llu invalid\n",
                    static_cast<unsigned long long>(packets_), width_, height_, Seconds(last_ - first_), fps,
                    static_cast<unsigned long long>(invalid_));
        if (packets_ == 0) std::fprintf(stderr, "packet-check: no packet arrived\n");
        if (packets_ > 0 && fps < options_.minFps) {
            std::fprintf(stderr, "packet-check: %.2f fps is below %.2f\n", fps, options_.minFps);
        }
        return invalid_ == 0 && packets_ > 0 && fps >= options_.minFps;
    }

private:
    static double Rate(std::uint64_t packets, Clock::duration span) {
        return packets > 1 && span.count() > 0 ? static_cast<double>(packets - 1) / Seconds(span) : 0.0;
    }

    void Invalid(std::uint64_t offset, const std::string& why) {
        ++invalid_;
        std::fprintf(stderr, "packet-check: invalid data at byte %llu: %s\n", static_cast<unsigned long long>(offset),
                     why.c_str());
    }

    void Report(Clock::time_point now) {
        std::printf("packet-check: %llu packets in %.1f s, %.2f fps (last %.0f s: %.2f fps), %llu invalid\n",
                    static_cast<unsigned long long>(packets_), Seconds(now - first_), Rate(packets_, now - first_),
                    Seconds(now - lastReport_),
                    static_cast<double>(packets_ - reportedPackets_) / Seconds(now - lastReport_),
                    static_cast<unsigned long long>(invalid_));
        std::fflush(stdout);
        lastReport_ = now;
        reportedPackets_ = packets_;
    }

    const Options& options_;
    std::uint64_t packets_ = 0;
    std::uint64_t invalid_ = 0;
    std::uint64_t reportedPackets_ = 0;
    int width_ = 0;
    int height_ = 0;
    Clock::time_point first_{};
    Clock::time_point last_{};
    Clock::time_point lastReport_{};
};

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: lumora-packet-check PATH [--size WxH] [--min-fps N] [--report SECONDS]\n");
        return 2;
    }
    lumora::TerminationSignalFlag stop;
    const int fd = ::open(options->path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::perror(options->path.c_str());
        return 1;
    }
    Tally tally(*options);
    PacketStreamReader reader(fd);
    bool readFailed = false;
    for (;;) {
        const PacketStreamReader::Item item = reader.Next();
        if (item.status == PacketStreamReader::Status::kPacket || item.status == PacketStreamReader::Status::kBadData) {
            tally.Take(item);
        } else if (item.status == PacketStreamReader::Status::kInterrupted && !stop.Raised()) {
            continue;
        } else {
            if (item.status == PacketStreamReader::Status::kReadError) {
                std::fprintf(stderr, "packet-check: cannot read %s: %s\n", options->path.c_str(), item.error.c_str());
                readFailed = true;
            }
            break;
        }
    }
    ::close(fd);
    return tally.Finish() && !readFailed ? 0 : 1;
}
