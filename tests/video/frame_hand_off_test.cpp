// The frame's way from the grabber callback through the store to the virtual camera: the
// store's block, the packet format, the hand-off and the link. (The packet parser's
// refusals are the frame_packet fuzz target's corpus, replayed with every build.)
#include "frames/frame_copy_event.h"
#include "frames/frame_packet.h"
#include "frames/frame_processor.h"
#include "frames/frame_store.h"
#include "platform/message_recorder.h"
#include "test_support.h"
#include "video/counter_grabber_callback.h"
#include "video/frame_event_handler.h"
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
#include <vector>

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
        store_.SetFormat(ZImageBitmapInfoHeader{40, width, height, 0, 24, 0, 0, 0, 0, 0, 0});
    }

    TempDir dir_;
    std::string packets_;
    FrameStore store_;
    VirtualCameraLink link_;
    FrameEventHandler handler_{store_, link_};
    Inverter inverter_;
    MainGrabberCallback grabber_{store_};
    MessageRecorder messages_;
};

TEST_F(FrameHandOff, AnOddWidthFrameReachesTheDeviceByteExactAndBadBuffersAreRefused) {
    SetFormat(641, 480);  // 1923 bytes a row, padded to 1924
    std::vector<unsigned char> frame(1924 * 480);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<unsigned char>(i * 7);

    ASSERT_EQ(grabber_.BufferCB(0.5, frame.data(), static_cast<long>(frame.size())), S_OK);
    EXPECT_EQ(frame[0], 0xFF) << "effects run in place, so downstream sees the processed frame";
    QCoreApplication::processEvents();  // the user-interface side handles the posted events

    const auto written = ReadFileBytes(packets_);
    ASSERT_EQ(written.size(), 40 + frame.size());
    EXPECT_EQ(std::memcmp(written.data(), "DODU", 4), 0);
    EXPECT_EQ(
        std::tuple(U32At(written, 4), U32At(written, 12), U32At(written, 20), U32At(written, 24), U32At(written, 32)),
        std::tuple(std::uint32_t(frame.size()), 0xFFFFFFFFu, 641u, 480u, 24u));
    EXPECT_EQ(std::memcmp(written.data() + 40, frame.data(), frame.size()), 0);
    EXPECT_TRUE(messages_.Messages().empty());

    // Then missing buffers and a frame smaller than its format.
    SetFormat(640, 480);
    unsigned char byte = 1;
    EXPECT_EQ(std::tuple(grabber_.BufferCB(0, nullptr, 10), grabber_.BufferCB(0, &byte, 0)),
              std::tuple(E_POINTER, E_INVALIDARG));
    // A buffer shorter than the format says is stored but never handed to the effects,
    // which would otherwise read and write past its end.
    std::vector<unsigned char> shortFrame(100, 1);
    EXPECT_EQ(grabber_.BufferCB(0, shortFrame.data(), 100), S_FALSE) << "stored, left as it came";
    EXPECT_EQ(inverter_.calls, 1) << "only the whole frame was processed";
    // Without effects a whole frame is stored as it came, and answered S_FALSE: nothing to copy back.
    store_.SetProcessor(nullptr);
    std::vector<unsigned char> whole(921600, 1);
    EXPECT_EQ(grabber_.BufferCB(0, whole.data(), static_cast<long>(whole.size())), S_FALSE);
    EXPECT_EQ(whole, std::vector<unsigned char>(921600, 1));

    // The recording counter ignores empty buffers and counts on past 32 bits.
    RecordedBytesCounter counter;
    CounterGrabberCallback counting(counter);
    for (const auto& [data, length] : {std::pair(static_cast<unsigned char*>(nullptr), 100L), std::pair(&byte, 0L),
                                       std::pair(&byte, 3'000'000'000L), std::pair(&byte, 3'000'000'000L)}) {
        EXPECT_EQ(counting.BufferCB(0, data, length), S_OK) << length;
    }
    EXPECT_EQ(counter.Read(), 6'000'000'000u);
}

TEST_F(FrameHandOff, AFrameArrivingWhileTheUserInterfaceHoldsTheLockIsDroppedAlone) {
    SetFormat(4, 2);
    std::vector<unsigned char> first(24, 0x10), second(24, 0x20), third(24, 0x30);
    ASSERT_EQ(grabber_.BufferCB(0, first.data(), 24), S_OK);
    QCoreApplication::processEvents();

    HRESULT busyAnswer = S_OK;
    {
        auto uiLock = store_.WaitLock();
        std::thread([&] { busyAnswer = grabber_.BufferCB(0, second.data(), 24); }).join();
    }
    EXPECT_EQ(std::tuple(busyAnswer, inverter_.calls.load()), std::tuple(E_FAIL, 1));
    EXPECT_EQ(second, std::vector<unsigned char>(24, 0x20)) << "the dropped frame goes on untouched";
    QCoreApplication::processEvents();

    ASSERT_EQ(grabber_.BufferCB(0, third.data(), 24), S_OK);
    QCoreApplication::processEvents();
    const auto written = ReadFileBytes(packets_);
    ASSERT_EQ(written.size(), 2u * 64u) << "one packet for each stored frame, none for the dropped one";
    EXPECT_EQ(std::pair(written[40], written[64 + 40]), (std::pair<unsigned char, unsigned char>(0xEF, 0xCF)));
}

TEST_F(FrameHandOff, BeforeTheFirstFrameTheCopyIsEmptyAndThePacketBlackThenTheCopyMatchesTheStore) {
    FrameCopy copy;
    copy.size = 99;
    FrameCopyEvent empty(&copy);
    QCoreApplication::sendEvent(&handler_, &empty);
    EXPECT_EQ(std::pair(copy.pixels.get(), copy.size), (std::pair<unsigned char*, std::uint32_t>(nullptr, 0u)))
        << "no frame yet: the record is left empty";
    handler_.SendFrameToVirtualCamera();  // and the virtual camera gets a black 320 x 240 packet
    const auto black = ReadFileBytes(packets_);
    ASSERT_EQ(black.size(), 40u + 230400u);
    EXPECT_EQ(std::tuple(U32At(black, 4), U32At(black, 20), U32At(black, 24)), std::tuple(230400u, 320u, 240u));
    EXPECT_EQ(std::vector<unsigned char>(black.begin() + 40, black.end()), std::vector<unsigned char>(230400));

    SetFormat(4, 2);
    std::vector<unsigned char> frame(24);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<unsigned char>(i);
    ASSERT_EQ(grabber_.BufferCB(0, frame.data(), 24), S_OK);  // inverted in place
    FrameCopyEvent event(&copy);
    QCoreApplication::sendEvent(&handler_, &event);
    ASSERT_NE(copy.pixels, nullptr);
    EXPECT_EQ(std::tuple(copy.size, copy.width, copy.height), std::tuple(24u, 4, 2));
    EXPECT_EQ(std::vector<unsigned char>(copy.pixels.get(), copy.pixels.get() + 24), frame);
}

TEST(VirtualCameraLink, WritesOnlyToTheOneDeviceItOpenedAndAFifoWithoutAReaderNeverStallsIt) {
    TempDir dir;
    MessageRecorder messages;
    VirtualCameraLink link;
    unsigned char little[40 + 12] = {};
    EXPECT_FALSE(link.WritePacket(little, 12));
    test::WriteFileText(dir.file("a"), "");
    EXPECT_TRUE(link.Open(dir.file("a")));
    EXPECT_FALSE(link.Open(dir.file("a")));
    EXPECT_TRUE(link.WritePacket(little, 12));
    link.Close();
    EXPECT_FALSE(link.WritePacket(little, 12));
    EXPECT_EQ(std::tuple(ReadFileBytes(dir.file("a")).size(), messages.Messages().size()), std::tuple(52u, 0u));

    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_TRUE(link.Open("packets:" + fifo));

    std::vector<unsigned char> packet(40 + 230400);
    FramePacket::FillFrameFields(packet.data(), 320, 240);
    const auto start = std::chrono::steady_clock::now();
    int written = 0;
    while (written < 40 && link.WritePacket(packet.data(), 230400)) ++written;
    EXPECT_LT(written, 40) << "the pipe fills up and the packet that does not fit is dropped whole";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));

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

// The store's blocks: a packet lent to the user-interface side stays as it was while the
// streaming side goes on storing frames, and is only recycled by the next BuildPacket.
void StoreFrame(FrameStore& store, unsigned char value, std::uint32_t length) {
    const FrameStore::Lock lock = store.TryLock();
    ASSERT_TRUE(lock.owns_lock());
    unsigned char* block = store.BeginFrame(lock, length);
    ASSERT_NE(block, nullptr);
    std::memset(block, value, length);
    store.CommitFrame(lock);
}

TEST(FrameStore, ALentPacketSurvivesLaterFramesAndEachFrameIsSentWithoutACopy) {
    FrameStore store;
    ZImageBitmapInfoHeader format{};
    format.biWidth = 4;
    format.biHeight = 2;
    store.SetFormat(format);

    StoreFrame(store, 0x11, 24);
    const FramePacketView first = store.BuildPacket();
    ASSERT_EQ(first.size, 40u + 24u);
    std::int32_t width = 0;
    std::memcpy(&width, first.data + 20, 4);
    EXPECT_EQ(width, 4) << "the frame's header fields are filled";
    // Frames keep coming while the packet is being written: it stays as it was.
    StoreFrame(store, 0x22, 24);
    StoreFrame(store, 0x33, 24);
    EXPECT_EQ(std::vector<unsigned char>(first.data + 40, first.data + 64), std::vector<unsigned char>(24, 0x11));
    EXPECT_EQ(store.Pixels(store.WaitLock())[0], 0x33) << "the current frame is the newest";

    const FramePacketView second = store.BuildPacket();
    EXPECT_EQ(std::tuple(second.data[40], second.repeat), std::tuple(0x33, false));
    const FramePacketView again = store.BuildPacket();
    EXPECT_EQ(std::tuple(again.data, again.repeat), std::tuple(second.data, true)) << "no newer frame: the same packet";
    EXPECT_EQ(store.Overwritten(store.WaitLock()), 1u) << "0x22 never went out";

    // A frame begun but not committed changes nothing.
    {
        const FrameStore::Lock lock = store.TryLock();
        std::memset(store.BeginFrame(lock, 24), 0x44, 24);
    }
    FrameCopy copy;
    store.CopyCurrent(&copy);
    ASSERT_NE(copy.pixels, nullptr);
    EXPECT_EQ(std::tuple(copy.pixels[0], copy.size, copy.width, copy.height), std::tuple(0x33, 24u, 4, 2));
}

}  // namespace
}  // namespace lumora
