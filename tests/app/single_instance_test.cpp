#include "app/single_instance.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <thread>

namespace lumora {
namespace {

using Claim = SingleInstance::Claim;

// What a copy of the probe program printed, once it has ended.
std::string Finished(QProcess& probe) {
    EXPECT_TRUE(probe.waitForFinished(60000));
    EXPECT_EQ(std::tuple(probe.exitStatus(), probe.exitCode()), std::tuple(QProcess::NormalExit, 0));
    return probe.readAllStandardOutput().toStdString();
}

class SingleInstanceTest : public ::testing::Test {
protected:
    std::filesystem::path Socket() const { return dir_.path() / "lumora.socket"; }

    // A copy of the probe program; with `go`, it claims once that FIFO is opened.
    std::unique_ptr<QProcess> StartProbe(int raises, const std::string& go = "") const {
        auto probe = std::make_unique<QProcess>();
        QStringList arguments{QString::fromStdString(Socket().string()), QString::number(raises)};
        if (!go.empty()) arguments << QString::fromStdString(go);
        probe->start(LUMORA_SINGLE_INSTANCE_PROBE, arguments);
        EXPECT_TRUE(probe->waitForStarted(10000));
        return probe;
    }

    test::TempDir dir_;
};

// The socket a crashed copy left is taken over; a later copy raises the first and is told
// to exit; the first copy's socket goes with it; without a usable socket a copy runs unguarded.
TEST_F(SingleInstanceTest, ALaterCopyRaisesTheFirstAndIsToldToExitACrashedCopyIsTakenOverAndNoSocketRunsUnguarded) {
    auto crashed = StartProbe(1);
    ASSERT_TRUE(crashed->waitForReadyRead(30000));
    EXPECT_EQ(crashed->readLine().toStdString(), "first\n");
    ::kill(static_cast<pid_t>(crashed->processId()), SIGKILL);
    ASSERT_TRUE(crashed->waitForFinished(10000));
    ASSERT_TRUE(std::filesystem::is_socket(Socket()));

    auto first = std::make_unique<SingleInstance>(Socket());
    ASSERT_EQ(first->ClaimOrNotify(), Claim::kFirst);
    EXPECT_TRUE(first->listening());
    int raised = 0;
    QObject::connect(first.get(), &SingleInstance::raiseRequested, [&] { ++raised; });
    auto second = StartProbe(0);
    EXPECT_EQ(Finished(*second), "another\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return raised == 1; }, 10000));

    first.reset();
    EXPECT_FALSE(std::filesystem::exists(Socket()));
    EXPECT_EQ(SingleInstance(Socket()).ClaimOrNotify(), Claim::kFirst);

    // Without a usable socket (this one is longer than a socket address can be) the copy runs
    // unguarded.
    SingleInstance unguarded(dir_.path() / std::string(150, 'x') / "lumora.socket");
    EXPECT_EQ(std::tuple(unguarded.ClaimOrNotify(), unguarded.listening()), std::tuple(Claim::kFirst, false));
}

TEST_F(SingleInstanceTest, OfCopiesStartedTogetherExactlyOneRuns) {
    constexpr int kCopies = 8;
    const std::string go = dir_.file("go");
    ASSERT_EQ(::mkfifo(go.c_str(), 0600), 0);
    std::vector<std::unique_ptr<QProcess>> probes;
    for (int i = 0; i < kCopies; ++i) probes.push_back(StartProbe(kCopies - 1, go));
    // Let them all reach the FIFO, then wake them together; the FIFO stays open for a
    // copy that comes late.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const int release = ::open(go.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(release, 0);
    std::vector<std::string> outputs;
    for (auto& probe : probes) outputs.push_back(Finished(*probe));
    ::close(release);
    std::sort(outputs.begin(), outputs.end());  // the "another"s first
    std::vector<std::string> expected(kCopies - 1, "another\n");
    expected.push_back("first\nraised " + std::to_string(kCopies - 1) + "\n");
    EXPECT_EQ(outputs, expected);
}

}  // namespace
}  // namespace lumora
