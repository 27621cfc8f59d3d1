// Helpers shared by every test executable. The executables link this library instead of
// gtest_main: its main() creates the Qt application (offscreen platform) first.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace lumora::test {

// A fresh folder under the system temporary folder, removed with everything in it when
// the object goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Path of a file in the shared test data folder (messi5.jpg, Megamind.avi).
std::string TestDataPath(const std::string& name);

// The program folder of this build tree, with a trailing "/" (plug-ins, images/, ...).
std::string ProgramDir();

// Threads this process has now (for tests that no thread outlives its owner).
std::size_t ThreadCount();

// The thread count once it has fallen to `expected` or after two seconds, whichever
// comes first. The kernel wakes a joiner a moment before the joined thread lets go of
// the process, so a count taken right after a join may still include it.
std::size_t ThreadCountSettledAt(std::size_t expected);

// Turns this thread's Qt event loop until `done` answers true or `timeout` has passed;
// answers `done()`.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Runs `write` with this process's file size limit at `bytes`, SIGXFSZ ignored, so that a
// write past the limit fails as on a full disk (root included); the old limit and handler
// come back afterwards.
void WithFileSizeLimit(std::uintmax_t bytes, const std::function<void()>& write);

// Whole-file helpers for assertions.
std::vector<unsigned char> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

}  // namespace lumora::test
