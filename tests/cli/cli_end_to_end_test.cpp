// lumora-cli run as a user runs it: the real program on test cameras, pictures and the
// shared test video, its packets, snapshots and recordings read back.
#include "test_support.h"
#include "video/frame_packet.h"

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace lumora {
namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

QString Q(const std::string& text) { return QString::fromStdString(text); }

CliRun RunCli(const QStringList& arguments, const QString& testDevices = {}, int timeoutMs = 60000) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LUMORA_TEST_DEVICES", testDevices);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(Q(test::ProgramDir() + "lumora-cli"), arguments);
    CliRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.err = "timed out";
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

// The packets of a packet file, checked one by one; stops at the first bad one. The
// payloads are kept only when asked for (a whole video's are hundreds of megabytes).
struct PacketFile {
    std::vector<FramePacketHeader> headers;
    std::vector<std::vector<unsigned char>> payloads;
    bool wellFormed = true;
};

PacketFile ReadPackets(const std::string& path, bool keepPayloads = true) {
    const std::vector<unsigned char> bytes = test::ReadFileBytes(path);
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

// "done: <frames> frames in ... <dropped> dropped" of the summary line.
std::optional<std::pair<int, int>> Summary(const std::string& err) {
    const QRegularExpression line("done: (\\d+) frames in .* (\\d+) dropped");
    const QRegularExpressionMatch match = line.match(Q(err));
    if (!match.hasMatch()) return std::nullopt;
    return std::make_pair(match.captured(1).toInt(), match.captured(2).toInt());
}

struct Probe {
    std::string codec;
    int width = 0;
    int height = 0;
    int frames = 0;
};

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

bool HaveFfprobe() { return std::system("command -v ffprobe >/dev/null 2>&1") == 0; }

const QString kMegamind = Q(test::TestDataPath("Megamind.avi"));
constexpr int kMegamindFrames = 270;

TEST(CliEndToEnd, ATestCameraFeedsTheVirtualCameraDeviceWithWholePackets) {
    test::TempDir dir;
    const std::string device = dir.file("vcam.packets");
    test::WriteFileText(device, "");
    const QString devices = Q("Test Camera=pattern:ball;Lumora Capture=packets:" + device);

    const CliRun listing = RunCli({"devices"}, devices);
    ASSERT_EQ(listing.exitCode, 0) << listing.err;
    EXPECT_EQ(listing.out, "0\tTest Camera\tpattern:ball\n1\tLumora Capture\tpackets:" + device + "\tvirtual camera\n");

    const CliRun run = RunCli({"run", "--source", "device:0", "--frames", "20"}, devices);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const PacketFile packets = ReadPackets(device);
    EXPECT_TRUE(packets.wellFormed);
    ASSERT_EQ(packets.headers.size(), 20u);
    EXPECT_EQ(packets.headers[0].width, 640);
    EXPECT_EQ(packets.headers[0].height, 480);
    EXPECT_NE(packets.payloads[0], packets.payloads[19]);  // the ball moves

    const CliRun missing = RunCli({"run", "--source", "device:5", "--output", "none"}, devices);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("there is no capture device 5"), std::string::npos) << missing.err;
}

// In real time, with the sound going to whatever output there is (none here), every
// frame passes; the hand-off may refuse one the user-interface thread was copying.
TEST(CliEndToEnd, TheTestVideoPlaysInRealTimeWithEveryFrameWithoutASoundCard) {
    const CliRun run = RunCli({"run", "--source", "file:" + kMegamind, "--output", "none"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto summary = Summary(run.err);
    ASSERT_TRUE(summary) << run.err;
    EXPECT_EQ(summary->first + summary->second, kMegamindFrames);
    EXPECT_LE(summary->second, 3);
}

TEST(CliEndToEnd, APlaylistPlaysInOrderSkippingAFileThatIsNoVideo) {
    test::TempDir dir;
    test::WriteFileText(dir.file("notes.avi"), "these are notes, not a video\n");
    test::WriteFileText(dir.file("list.pls"), "[playlist]\nFile1=" + kMegamind.toStdString() + "\nFile2=" +
                                                  dir.file("notes.avi") + "\nFile3=" + kMegamind.toStdString() +
                                                  "\nNumberOfEntries=3\n");
    const CliRun run = RunCli({"run", "--source", Q("playlist:" + dir.file("list.pls")), "--fast",
                               "--output", Q(dir.file("out.packets"))});
    EXPECT_EQ(run.exitCode, 1);
    const PacketFile packets = ReadPackets(dir.file("out.packets"), false);
    EXPECT_TRUE(packets.wellFormed);
    ASSERT_EQ(packets.headers.size(), 2u * kMegamindFrames);
    EXPECT_EQ(packets.headers[0].width, 720);
    EXPECT_EQ(packets.headers[0].height, 528);
    EXPECT_NE(run.err.find("Couldn't build GStreamer filters sequence!"), std::string::npos) << run.err;

    // Alone, the same file fails with the message and nothing else.
    const CliRun alone = RunCli({"run", "--source", Q("file:" + dir.file("notes.avi")), "--output", "none"});
    EXPECT_EQ(alone.exitCode, 1);
    const bool build = alone.err.find("Couldn't build GStreamer filters sequence!") != std::string::npos;
    const bool render = alone.err.find("Couldn't render GStreamer filters sequence!") != std::string::npos;
    EXPECT_TRUE(build != render) << alone.err;
    EXPECT_EQ(alone.err.find("lumora-cli:"), std::string::npos) << alone.err;
}

TEST(CliEndToEnd, EffectsChangeThePicturesThatGoOutAndSnapshotsTakeTheNextNumber) {
    test::TempDir dir;
    const QString picture = "image:" + Q(test::TestDataPath("messi5.jpg"));
    const QString snapshots = Q(dir.file("snaps"));
    const CliRun plain = RunCli({"run", "--source", picture, "--size", "320x240", "--frames", "2", "--output",
                                 Q(dir.file("plain")), "--snapshot", snapshots});
    const CliRun filtered = RunCli({"run", "--source", picture, "--size", "320x240", "--frames", "2", "--effect",
                                    "rgb=128,1,256", "--output", Q(dir.file("filtered")), "--snapshot", snapshots});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    ASSERT_EQ(filtered.exitCode, 0) << filtered.err;
    const PacketFile before = ReadPackets(dir.file("plain"));
    const PacketFile after = ReadPackets(dir.file("filtered"));
    ASSERT_FALSE(before.payloads.empty() || after.payloads.empty());
    const std::vector<unsigned char>& in = before.payloads[0];
    const std::vector<unsigned char>& out = after.payloads[0];
    ASSERT_EQ(in.size(), out.size());
    int wrong = 0;
    for (std::size_t i = 0; i + 2 < in.size(); i += 3) {  // blue, green, red
        wrong += out[i] != std::min(255, in[i] * 2) || out[i + 1] != in[i + 1] / 128 || out[i + 2] != in[i + 2];
    }
    EXPECT_EQ(wrong, 0);

    // The sample picture by default, with bundled plug-ins chosen by their names.
    const CliRun plugins = RunCli({"run", "--effect", "Falling snow", "--effect", "negative", "--frames", "3",
                                   "--output", Q(dir.file("plugins"))});
    ASSERT_EQ(plugins.exitCode, 0) << plugins.err;
    const PacketFile sample = ReadPackets(dir.file("plugins"), false);
    ASSERT_EQ(sample.headers.size(), 3u);
    EXPECT_EQ(sample.headers[0].width, 640);

    for (const char* name : {"snaps/snapshot000.jpg", "snaps/snapshot001.jpg"}) {
        const QImage snapshot(Q(dir.file(name)));
        EXPECT_EQ(snapshot.size(), QSize(320, 240)) << name;
    }
}

TEST(CliEndToEnd, PictureInPictureShowsTheSecondDeviceInTheChosenCorner) {
    test::TempDir dir;
    const QString devices = "Main=pattern:black;Second=pattern:white";
    const CliRun run = RunCli(
        {"run", "--source", "device:0", "--effect", "pip=1,3,25,0", "--frames", "40", "--output", Q(dir.file("pip"))},
        devices);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const PacketFile packets = ReadPackets(dir.file("pip"));
    ASSERT_EQ(packets.headers.size(), 40u);
    // Bottom left, 25 % of 640 x 480: the payload's first rows are the picture's bottom.
    const std::vector<unsigned char>& last = packets.payloads.back();
    const std::size_t stride = 640 * 3;
    const auto at = [&](int x, int y) { return last[static_cast<std::size_t>(y) * stride + x * 3]; };
    EXPECT_GT(at(40, 40), 240);   // inside the inset (white through YUV: 253)
    EXPECT_LT(at(600, 40), 16);   // the main picture beside it
    EXPECT_LT(at(40, 400), 16);   // and above it

    const CliRun missing = RunCli({"run", "--source", "device:0", "--effect", "pip=7", "--output", "none"}, devices);
    EXPECT_EQ(missing.exitCode, 1);
}

TEST(CliEndToEnd, RecordingsOfAnySourcePlayWithTheirFramesAndSize) {
    if (!HaveFfprobe()) GTEST_SKIP() << "ffprobe (package ffmpeg) is not installed";
    test::TempDir dir;
    const CliRun raw = RunCli({"run", "--source", "pattern:ball", "--fast", "--frames", "30", "--output", "none",
                               "--record", Q(dir.file("raw.avi"))});
    ASSERT_EQ(raw.exitCode, 0) << raw.err;
    const auto rawProbe = Ffprobe(dir.file("raw.avi"));
    ASSERT_TRUE(rawProbe);
    EXPECT_EQ(rawProbe->codec, "rawvideo");
    EXPECT_EQ(rawProbe->width, 640);
    EXPECT_EQ(rawProbe->height, 480);
    EXPECT_GE(rawProbe->frames, 30);

    const CliRun file = RunCli({"run", "--source", "file:" + kMegamind, "--fast", "--output", "none", "--record",
                                Q(dir.file("mjpeg.avi")), "--codec", "JPEG image encoder"});
    ASSERT_EQ(file.exitCode, 0) << file.err;
    const auto fileProbe = Ffprobe(dir.file("mjpeg.avi"));
    ASSERT_TRUE(fileProbe);
    EXPECT_EQ(fileProbe->codec, "mjpeg");
    EXPECT_EQ(fileProbe->width, 720);
    EXPECT_EQ(fileProbe->height, 528);
    EXPECT_EQ(fileProbe->frames, kMegamindFrames);

    const CliRun unknown = RunCli({"run", "--source", "pattern", "--output", "none", "--record",
                                   Q(dir.file("x.avi")), "--codec", "nosuchcodec"});
    EXPECT_EQ(unknown.exitCode, 2);
}

TEST(CliEndToEnd, UsageErrorsExitWithTwoAndTheUsage) {
    const CliRun run = RunCli({"run", "--size", "0x0"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("usage: lumora-cli"), std::string::npos);
    const CliRun effect = RunCli({"run", "--source", "pattern", "--output", "none", "--effect", "no such effect"});
    EXPECT_EQ(effect.exitCode, 2);
    const CliRun listing = RunCli({"effects"});
    ASSERT_EQ(listing.exitCode, 0);
    EXPECT_EQ(listing.out.rfind("1\t0\t1BA87460-8253-4256-B22A-0229A8903BA8\tZoom\n2\t0\t", 0), 0u) << listing.out;
}

}  // namespace
}  // namespace lumora
