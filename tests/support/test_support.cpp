#include "test_support.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace lumora::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumora-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TestDataPath(const std::string& name) {
    const char* dir = std::getenv("LUMORA_TESTDATA");
    return std::string(dir ? dir : LUMORA_TESTDATA_DIR) + "/" + name;
}

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    const std::string text = ReadFileText(path);
    return {text.begin(), text.end()};
}

// A thread on its way out has given up the process's memory: its statm reads all zeros.
// Such a thread has been (or is about to be) joined and is not counted.
std::size_t ThreadCount() {
    std::size_t count = 0;
    std::error_code ignored;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", ignored)) {
        std::ifstream statm(task.path() / "statm");
        unsigned long pages = 0;
        count += statm >> pages && pages != 0;
    }
    return count;
}

std::size_t ThreadCountSettledAt(std::size_t expected) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    std::size_t count;
    while ((count = ThreadCount()) > expected && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return count;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done() && std::chrono::steady_clock::now() <= deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return done();
}

void WithFileSizeLimit(std::uintmax_t bytes, const std::function<void()>& write) {
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit limited{static_cast<rlim_t>(bytes), previous.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limited);
    write();
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string ProgramDir() {
    const char* dir = std::getenv("LUMORA_PROGRAM_DIR");
    return dir ? dir : LUMORA_TEST_PROGRAM_DIR;
}

}  // namespace lumora::test

int main(int argc, char** argv) {
    // Tests never need a screen; the offscreen platform stands in for one.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
