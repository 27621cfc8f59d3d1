// lumora-cli and lumora-vcam never report a failure as success: writes to /dev/full, to a
// full or read-only filesystem, to a FIFO whose reader left, and runs that deliver no frame
// end with exit 1 and a message naming the file and the system's reason. SIGINT and SIGTERM
// end lumora-cli within a second whatever it is doing: at once (130, 143) while it waits for
// a FIFO's peer, as a clean stop while frames flow — and a real-time recording stopped so
// holds exactly the frames the output got.
#include "cli_process.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace lumora {
namespace {

using test::Q;
using test::ToolProcess;
using test::ToolRun;

const std::string kNoSpace = std::strerror(ENOSPC);

// A 2 MiB tmpfs of its own (we run as root); Mounted() is false where mounting is refused.
class SmallFilesystem {
public:
    SmallFilesystem() { mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, "size=2m") == 0; }
    ~SmallFilesystem() {
        if (mounted_) ::umount2(dir_.path().c_str(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }
    std::string file(const std::string& name) const { return dir_.file(name); }
    // Takes every byte that is left.
    void Fill() const {
        std::ofstream filler(file("filler"), std::ios::binary);
        const std::vector<char> block(64 * 1024);
        while (filler.write(block.data(), 64 * 1024)) {}
    }
    bool MakeReadOnly() { return ::mount(nullptr, dir_.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0; }

private:
    test::TempDir dir_;
    bool mounted_ = false;
};

// A run of lumora-cli on the test pattern with `more` arguments.
ToolRun Cli(const QStringList& more) {
    return test::RunTool("lumora-cli", QStringList{"run", "--source", "pattern"} + more);
}

void ExpectFailure(const ToolRun& run, const std::string& says, const std::string& what) {
    EXPECT_EQ(run.exitCode, 1) << what << "\n" << run.err;
    EXPECT_NE(run.err.find(says), std::string::npos) << what << "\n" << run.err;
    EXPECT_EQ(run.err.find("written to"), std::string::npos) << what << "\n" << run.err;
    EXPECT_EQ(run.out.find("saved to"), std::string::npos) << what << "\n" << run.out;
}

// The messages for a full disk are the full filesystem test's; a recording must not replace the device.
TEST(CliFailures, ARecordingToDevFullFailsAndLeavesTheDevice) {
    if (!std::filesystem::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    ExpectFailure(Cli({"--fast", "--frames", "5", "--output", "none", "--record", "/dev/full"}),
                  "Cannot write the recording /dev/full: " + kNoSpace + "\n", "--record");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full")) << "the recording replaced the device with a file";
}

TEST(CliFailures, AFullFilesystemFailsEveryWriterAndKeepsWholePackets) {
    SmallFilesystem full;
    if (!full.Mounted()) GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    test::TempDir dir;
    const std::string stream = dir.file("stream.packets");  // 4.9 MB, more than the 2 MiB
    ASSERT_EQ(Cli({"--fast", "--frames", "4", "--output", Q(stream)}).exitCode, 0);

    const std::string packets = full.file("out.packets");
    ExpectFailure(Cli({"--fast", "--frames", "10", "--output", Q(packets)}),
                  "Cannot write " + packets + ": " + kNoSpace, "--output");
    const auto kept = test::ReadPackets(packets, false);
    EXPECT_TRUE(kept.wellFormed) << "a torn packet was left at the end";
    EXPECT_GE(kept.headers.size(), 1u);
    ::unlink(packets.c_str());

    full.Fill();
    const std::string recording = full.file("out.avi");
    ExpectFailure(Cli({"--fast", "--frames", "10", "--output", "none", "--record", Q(recording)}),
                  "Cannot write the recording " + recording + ": " + kNoSpace, "--record");

    ExpectFailure(test::RunTool("lumora-vcam", {"dump", Q(stream), "--y4m", Q(full.file("out.y4m"))}),
                  "cannot write " + full.file("out.y4m") + ": " + kNoSpace, "dump --y4m");
    ExpectFailure(test::RunTool("lumora-vcam", {"dump", Q(stream), "--png", Q(full.file("png"))}),
                  "cannot write " + full.file("png/frame-00000"), "dump --png");

    ASSERT_TRUE(full.MakeReadOnly());
    ExpectFailure(test::RunTool("lumora-vcam", {"dump", Q(stream), "--png", Q(full.file("other"))}),
                  "cannot create the folder " + full.file("other") + ": " + std::strerror(EROFS), "dump --png");
    ExpectFailure(Cli({"--frames", "2", "--output", "none", "--snapshot", Q(full.file("snaps"))}),
                  "Cannot create the snapshot folder " + full.file("snaps") + ": " + std::strerror(EROFS),
                  "--snapshot");
}

TEST(CliFailures, AFifoReaderThatLeavesEndsTheRun) {
    test::TempDir dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread reader([&] {
        std::ifstream in(fifo, std::ios::binary);
        std::vector<char> bytes(640 * 480 * 3 + 40);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));  // one packet, then gone
    });
    const ToolRun run = Cli({"--seconds", "20", "--output", Q(fifo)});
    // Should the program never have opened it, the reader is let go on.
    if (const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) ::close(fd);
    reader.join();
    ExpectFailure(run, "Cannot write " + fifo + ": " + std::strerror(EPIPE), "FIFO");
}

// A video file cut short behind its index: the source builds and ends without a frame.
TEST(CliFailures, ARunThatDeliversNoFrameFails) {
    test::TempDir dir;
    const std::string whole = dir.file("whole.mp4");
    const std::string make = "gst-launch-1.0 -q videotestsrc num-buffers=60 ! video/x-raw,width=320,height=240 ! "
                             "x264enc ! mp4mux faststart=true ! filesink location='" + whole + "' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) GTEST_SKIP() << "gst-launch-1.0 with x264enc and mp4mux is needed";
    // The index (moov) comes first; cut a few bytes into the frames (mdat).
    const std::vector<unsigned char> bytes = test::ReadFileBytes(whole);
    const std::string text(bytes.begin(), bytes.end());
    const std::size_t frames = text.find("mdat");
    ASSERT_NE(frames, std::string::npos);
    std::ofstream(dir.file("cut.mp4"), std::ios::binary).write(text.data(), static_cast<std::streamsize>(frames + 64));
    for (const QString& output : {QString("none"), Q(dir.file("cut.packets"))}) {
        const ToolRun cut = test::RunTool(
            "lumora-cli", {"run", "--source", Q("file:" + dir.file("cut.mp4")), "--fast", "--output", output});
        // The source graph finds no decodable frame before the run starts.
        ExpectFailure(cut, "lumora-cli: cannot play " + dir.file("cut.mp4") + "\n", output.toStdString());
    }
}

// What the program promises; the sanitizers slow every step (and the leak check at exit)
// several times over, so their build is given more.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kSecond = 3000;
#else
constexpr qint64 kSecond = 1000;
#endif

struct Interrupted {
    ToolRun run;
    qint64 milliseconds = -1;  // from the signal to the end
};

// Starts lumora-cli, waits until it has written `ready` (when empty, a moment into its
// start), sends `signal` and waits for the end.
Interrupted Interrupt(const QStringList& arguments, const std::string& ready, int signal) {
    ToolProcess process("lumora-cli");
    if (!process.Start(arguments)) return {};
    if (ready.empty()) {
        process.WaitForError("\n(never)", 1500);
    } else if (!process.WaitForError(ready, 20000)) {
        return {process.Wait(0)};
    }
    process.Signal(signal);
    const ToolRun run = process.Wait(10000);
    return {run, process.MillisecondsToEnd()};
}

TEST(CliSignals, ASignalWhileWaitingForAFifosPeerEndsTheProgramAtOnce) {
    test::TempDir dir;
    const std::string output = dir.file("output.fifo");
    const std::string source = dir.file("source.fifo");
    ASSERT_EQ(::mkfifo(output.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(source.c_str(), 0600), 0);
    const std::tuple<QStringList, std::string, int> cases[] = {
        {{"run", "--source", "pattern", "--output", Q(output)}, "waiting for a reader of " + output, SIGINT},
        {{"run", "--source", Q("file:" + source), "--output", "none"}, "", SIGTERM},
    };
    for (const auto& [arguments, ready, sent] : cases) {
        const Interrupted stopped = Interrupt(arguments, ready, sent);
        const std::string line = arguments.join(' ').toStdString();
        EXPECT_EQ(stopped.run.exitCode, 128 + sent) << line << "\n" << stopped.run.err;
        EXPECT_LT(stopped.milliseconds, kSecond) << line;
        const std::string says = std::string("stopped by ") + (sent == SIGINT ? "SIGINT" : "SIGTERM");
        EXPECT_NE(stopped.run.err.find(says), std::string::npos) << line << "\n" << stopped.run.err;
    }
}

TEST(CliSignals, SigintDuringARealTimeRecordingStopsThereWithTheSameFramesInBoth) {
    if (!test::HaveFfprobe()) GTEST_SKIP() << "ffprobe (package ffmpeg) is not installed";
    test::TempDir dir;
    const std::string packets = dir.file("out.packets");
    const std::string recording = dir.file("out.avi");
    const Interrupted stopped = Interrupt({"run", "--source", Q("file:" + test::TestDataPath("Megamind.avi")),
                                           "--output", Q(packets), "--record", Q(recording)},
                                          " fps, ", SIGINT);
    ASSERT_EQ(stopped.run.exitCode, 0) << stopped.run.err;
    EXPECT_LT(stopped.milliseconds, kSecond);
    EXPECT_NE(stopped.run.err.find("lumora-cli: SIGINT: stopping\n"), std::string::npos) << stopped.run.err;
    const auto summary = test::Summary(stopped.run.err);
    ASSERT_TRUE(summary) << stopped.run.err;

    const auto written = test::ReadPackets(packets, false);
    const auto probe = test::Ffprobe(recording);
    ASSERT_TRUE(probe);
    EXPECT_TRUE(written.wellFormed);
    EXPECT_EQ(static_cast<int>(written.headers.size()), summary->first);
    // A frame the hand-off refused (dropped) is recorded as it came, but not sent.
    EXPECT_EQ(probe->frames, summary->first + summary->second);
    EXPECT_LT(probe->frames, 200);  // it stopped at the signal, not at the end of the file
}

}  // namespace
}  // namespace lumora
