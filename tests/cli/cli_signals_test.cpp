// SIGINT and SIGTERM end lumora-cli within a second whatever it is doing: at once (130,
// 143) while it waits for a FIFO's peer, as a clean stop while frames flow — and a
// real-time recording stopped so holds exactly the frames the output got.
#include "cli_process.h"
#include "test_support.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <csignal>
#include <string>

namespace lumora {
namespace {

using test::Q;
using test::ToolProcess;
using test::ToolRun;

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
