#include "platform/termination_signals.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QThread>

#include <chrono>
#include <csignal>
#include <vector>

namespace lumora {
namespace {

std::vector<int> gPrevious;
extern "C" void RecordPrevious(int number) { gPrevious.push_back(number); }

TEST(TerminationSignals, EachSignalIsACloseRequestOnTheUserInterfaceThread) {
    struct sigaction record {
    }, oldTerm{}, oldInt{};
    record.sa_handler = RecordPrevious;
    ASSERT_EQ(::sigaction(SIGTERM, &record, &oldTerm), 0);
    ASSERT_EQ(::sigaction(SIGINT, &record, &oldInt), 0);
    {
        TerminationSignals termination;
        ASSERT_TRUE(termination.active());
        EXPECT_FALSE(TerminationSignals().active());  // one at a time
        std::vector<int> received;
        QObject::connect(&termination, &TerminationSignals::closeRequested, [&](int number) {
            EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
            received.push_back(number);
        });
        ASSERT_EQ(std::raise(SIGTERM), 0);  // the process lives on
        ASSERT_EQ(std::raise(SIGINT), 0);
        test::WaitUntil([&] { return received.size() >= 2; }, std::chrono::seconds(2));
        EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT}));
        EXPECT_TRUE(gPrevious.empty());
    }
    // The handlers from before are back, and a new object may take over.
    std::raise(SIGTERM);
    EXPECT_EQ(gPrevious, std::vector<int>{SIGTERM});
    EXPECT_TRUE(TerminationSignals().active());
    ::sigaction(SIGTERM, &oldTerm, nullptr);
    ::sigaction(SIGINT, &oldInt, nullptr);
}

}  // namespace
}  // namespace lumora
