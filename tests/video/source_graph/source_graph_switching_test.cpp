#include "source_graph_fixture.h"

#include <memory>

namespace lumora {
namespace {

using test::SourceGraphTest;

class SourceGraphSwitching : public SourceGraphTest {
protected:
    bool Select(int round) {
        switch (round % 4) {
            case 0: return graph_.SelectCaptureDevice(Camera(round % 8 == 0 ? "smpte" : "ball"));
            case 1: return graph_.SelectImageFile(test::TestDataPath("messi5.jpg"), 160, 120, 30);
            case 2: return graph_.SelectDesktop(ZImageRect{0, 0, 64, 48}, 64, 48, 30);
            default: return graph_.SelectVideoFile(test::TestDataPath("Megamind.avi"));
        }
    }
};

TEST_F(SourceGraphSwitching, AHundredSwitchesLeaveNoPipelineOrThreadBehind) {
    constexpr int kRounds = 100;
    std::unique_ptr<test::ElementWatch> previous;
    std::size_t threadsAfterWarmUp = 0;
    for (int round = 0; round < kRounds; ++round) {
        ASSERT_TRUE(Select(round)) << round << ::testing::PrintToString(MessageTexts());
        if (previous) {
            ASSERT_TRUE(previous->WaitReleased()) << "round " << round;
        }
        previous = std::make_unique<test::ElementWatch>();
        previous->Watch(graph_.Pipeline());
        ASSERT_TRUE(graph_.Run());
        if (round % 4 == 0) {
            ASSERT_TRUE(WaitForFrames(1)) << round;
        }
        QCoreApplication::processEvents();
        if (round == 20) threadsAfterWarmUp = test::ThreadCount();
    }
    graph_.Teardown(true, true);
    EXPECT_TRUE(previous->WaitReleased());
    QCoreApplication::processEvents();
    EXPECT_LE(test::ThreadCountSettledAt(threadsAfterWarmUp + 2), threadsAfterWarmUp + 2);
    EXPECT_TRUE(messages_.Messages().empty());
}

}  // namespace
}  // namespace lumora
