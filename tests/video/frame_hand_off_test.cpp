#include "platform/message_recorder.h"
#include "test_support.h"
#include "video/counter_grabber_callback.h"
#include "video/frame_copy_event.h"
#include "video/frame_event_handler.h"
#include "video/frame_packet.h"
#include "video/frame_processor.h"
#include "video/main_grabber_callback.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

namespace lumora {
namespace {

using test::ReadFileBytes;
using test::TempDir;

std::uint32_t U32At(const std::vector<unsigned char>& bytes, std::size_t offset) {
    std::uint32_t value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

// Inverts every byte, and counts its calls.
class Inverter : public FrameProcessor {
public:
    bool ProcessFrame(unsigned char* pixels, int width, int height, double) override {
        ++calls;
        const std::uint32_t size = ZImage_CalcImageSize(width, height, 24);
        for (std::uint32_t i = 0; i < size; ++i) pixels[i] = static_cast<unsigned char>(~pixels[i]);
        return true;
    }
    std::atomic<int> calls{0};
};

// The store, the grabber callback and the user-interface handler wired to a packets file,
// as the application wires them.
class FrameHandOff : public ::testing::Test {
protected:
    void SetUp() override {
        packets_ = dir_.file("packets");
        test::WriteFileText(packets_, "");
        ASSERT_TRUE(link_.Open("packets:" + packets_));
        store_.SetTarget(&handler_);
        store_.SetProcessor(&inverter_);
    }

    void SetFormat(int width, int height) {
        ZImageBitmapInfoHeader format{};
        format.biSize = 40;
        format.biWidth = width;
        format.biHeight = height;
        format.biBitCount = 24;
        store_.SetFormat(format);
    }

    // Runs the user-interface side until the posted events are handled.
    static void HandleEvents() { QCoreApplication::processEvents(); }

    TempDir dir_;
    std::string packets_;
    FrameStore store_;
    VirtualCameraLink link_;
    FrameEventHandler handler_{store_, link_};
    Inverter inverter_;
    MainGrabberCallback grabber_{store_};
    MessageRecorder messages_;
};

TEST_F(FrameHandOff, A640x480FrameReachesTheDeviceProcessedAndByteExact) {
    SetFormat(640, 480);
    std::vector<unsigned char> frame(921600);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<unsigned char>(i * 7);

    ASSERT_EQ(grabber_.BufferCB(0.5, frame.data(), static_cast<long>(frame.size())), S_OK);
    EXPECT_EQ(frame[0], 0xFF) << "effects run in place, so downstream sees the processed frame";
    HandleEvents();

    const auto written = ReadFileBytes(packets_);
    ASSERT_EQ(written.size(), 921640u);
    EXPECT_EQ(std::memcmp(written.data(), "DODU", 4), 0);
    EXPECT_EQ(U32At(written, 4), 921600u);
    EXPECT_EQ(U32At(written, 12), 0xFFFFFFFFu);
    EXPECT_EQ(U32At(written, 20), 640u);
    EXPECT_EQ(U32At(written, 24), 480u);
    EXPECT_EQ(U32At(written, 32), 24u);
    EXPECT_EQ(std::memcmp(written.data() + 40, frame.data(), frame.size()), 0);
    EXPECT_TRUE(FramePacket::Parse(written.data(), written.size()));
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(FrameHandOff, AnEmptyStoreSendsABlack320x240Packet) {
    handler_.SendFrameToVirtualCamera();
    const auto written = ReadFileBytes(packets_);
    ASSERT_EQ(written.size(), 40u + 230400u);
    EXPECT_EQ(U32At(written, 4), 230400u);
    EXPECT_EQ(U32At(written, 20), 320u);
    EXPECT_EQ(U32At(written, 24), 240u);
    for (std::size_t i = 40; i < written.size(); ++i) ASSERT_EQ(written[i], 0) << i;
}

TEST_F(FrameHandOff, AFrameArrivingWhileTheUserInterfaceHoldsTheLockIsDroppedAlone) {
    SetFormat(4, 2);
    std::vector<unsigned char> first(24, 0x10), second(24, 0x20), third(24, 0x30);
    ASSERT_EQ(grabber_.BufferCB(0, first.data(), 24), S_OK);
    HandleEvents();

    HRESULT busyAnswer = S_OK;
    {
        auto uiLock = store_.WaitLock();
        std::thread streaming([&] { busyAnswer = grabber_.BufferCB(0, second.data(), 24); });
        streaming.join();
    }
    EXPECT_EQ(busyAnswer, E_FAIL);
    EXPECT_EQ(second, std::vector<unsigned char>(24, 0x20)) << "the dropped frame goes on untouched";
    EXPECT_EQ(inverter_.calls, 1);
    HandleEvents();

    ASSERT_EQ(grabber_.BufferCB(0, third.data(), 24), S_OK);
    HandleEvents();
    const auto written = ReadFileBytes(packets_);
    ASSERT_EQ(written.size(), 2u * 64u) << "one packet for each stored frame, none for the dropped one";
    EXPECT_EQ(written[40], 0xEF);
    EXPECT_EQ(written[64 + 40], 0xCF);
}

TEST_F(FrameHandOff, TheCallbacksRefuseMissingBuffersAndAFrameSmallerThanItsFormat) {
    SetFormat(640, 480);
    unsigned char byte = 1;
    EXPECT_EQ(grabber_.BufferCB(0, nullptr, 10), E_POINTER);
    EXPECT_EQ(grabber_.BufferCB(0, &byte, 0), E_INVALIDARG);
    // A buffer shorter than the format says is stored but never handed to the effects,
    // which would otherwise read and write past its end.
    std::vector<unsigned char> shortFrame(100, 1);
    EXPECT_EQ(grabber_.BufferCB(0, shortFrame.data(), 100), S_FALSE) << "stored, left as it came";
    EXPECT_EQ(inverter_.calls, 0);

    RecordedBytesCounter counter;
    CounterGrabberCallback counting(counter);
    EXPECT_EQ(counting.BufferCB(0, nullptr, 100), S_OK);
    EXPECT_EQ(counting.BufferCB(0, &byte, 0), S_OK);
    EXPECT_EQ(counting.BufferCB(0, &byte, 1000), S_OK);
    EXPECT_EQ(counter.Read(), 1000u);
}

TEST_F(FrameHandOff, ASnapshotCopyIsSentThroughTheEventAndMatchesTheStore) {
    SetFormat(4, 2);
    std::vector<unsigned char> frame(24, 0x0F);
    ASSERT_EQ(grabber_.BufferCB(0, frame.data(), 24), S_OK);
    FrameCopy copy;
    FrameCopyEvent event(&copy);
    QCoreApplication::sendEvent(&handler_, &event);
    ASSERT_NE(copy.pixels, nullptr);
    EXPECT_EQ(copy.width, 4);
    EXPECT_EQ(copy.height, 2);
    EXPECT_EQ(copy.pixels[0], 0xF0);
}

TEST(VirtualCameraLink, WritesNothingWithoutADeviceAndOpensOnlyOnce) {
    TempDir dir;
    MessageRecorder messages;
    VirtualCameraLink link;
    unsigned char packet[40 + 12] = {};
    EXPECT_FALSE(link.WritePacket(packet, 12));
    EXPECT_FALSE(link.Open(dir.file("missing")));
    EXPECT_FALSE(link.IsOpen());

    test::WriteFileText(dir.file("a"), "");
    test::WriteFileText(dir.file("b"), "");
    EXPECT_TRUE(link.Open(dir.file("a")));
    EXPECT_FALSE(link.Open(dir.file("b")));
    EXPECT_TRUE(link.WritePacket(packet, 12));
    link.Close();
    EXPECT_FALSE(link.WritePacket(packet, 12));
    EXPECT_EQ(ReadFileBytes(dir.file("a")).size(), 52u);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(VirtualCameraLink, AFifoWithoutAReaderNeverStallsTheUserInterface) {
    TempDir dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    VirtualCameraLink link;
    ASSERT_TRUE(link.Open("packets:" + fifo));

    std::vector<unsigned char> packet(40 + 230400);
    FramePacket::FillFrameFields(packet.data(), 320, 240);
    const auto start = std::chrono::steady_clock::now();
    int written = 0;
    for (int i = 0; i < 40; ++i) written += link.WritePacket(packet.data(), 230400) ? 1 : 0;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(written, 40) << "the pipe fills up and later packets are dropped whole";
    EXPECT_LT(elapsed, std::chrono::seconds(5));

    // What the pipe holds is whole packets only, starting at a packet boundary.
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::vector<unsigned char> queued;
    unsigned char chunk[65536];
    for (ssize_t got; (got = read(reader, chunk, sizeof chunk)) > 0;) queued.insert(queued.end(), chunk, chunk + got);
    ASSERT_EQ(queued.size(), static_cast<std::size_t>(written) * packet.size());
    for (int i = 0; i < written; ++i) {
        EXPECT_TRUE(FramePacket::Parse(queued.data() + i * packet.size(), packet.size())) << i;
    }
    close(reader);
}

}  // namespace
}  // namespace lumora
