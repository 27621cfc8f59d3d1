// Screen copies: argument checks without a display, and real copies from an Xvfb server
// that the test starts itself (skipped where Xvfb is not installed).
#include <lumora/zimage.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

ZImageBitmapInfoHeader Header(int width, int height, int bits = 24) {
    ZImageBitmapInfoHeader header{};
    header.biSize = 40;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<std::uint16_t>(bits);
    header.biSizeImage = ZImage_CalcImageSize(width, height < 0 ? -height : height, bits);
    return header;
}

// Sets an environment variable for the scope, restoring the old value at the end.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_.c_str(), old_->c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};

// An Xvfb server with a white 64 x 48 screen on a display number it picks itself.
class XvfbServer {
public:
    static bool Installed() { return access("/usr/bin/Xvfb", X_OK) == 0; }

    XvfbServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        const std::string fd = std::to_string(fds[1]);
        std::vector<std::string> args{"Xvfb", "-displayfd", fd, "-screen", "0", "64x48x24", "-wr", "-nolisten", "tcp"};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, "/usr/bin/Xvfb", &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        std::string number;
        pollfd poll_fd{fds[0], POLLIN, 0};
        char c = 0;
        while (pid_ > 0 && poll(&poll_fd, 1, 10000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) display_ = ":" + number;
    }
    ~XvfbServer() { Stop(); }

    const std::string& display() const { return display_; }
    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    std::string display_;
};

TEST(ZImageScreen, WithoutDisplayOrWithBadArgumentsAnswersZero) {
    std::vector<std::uint8_t> pixels(ZImage_CalcImageSize(8, 6, 24), 0x5A);
    const ZImageRect rect{0, 0, 8, 6};
    {
        ScopedEnv no_display("DISPLAY", nullptr);
        const auto header = Header(8, 6);
        EXPECT_EQ(ZImage_CopyScreenToBitmap(8, 6, &rect, pixels.data(), &header), 0u);
    }
    {
        ScopedEnv no_server("DISPLAY", ":250");
        const auto header = Header(8, 6);
        EXPECT_EQ(ZImage_CopyScreenToBitmap(8, 6, &rect, pixels.data(), &header), 0u);
    }
    const auto good = Header(8, 6);
    EXPECT_EQ(ZImage_CopyScreenToBitmap(8, 6, nullptr, pixels.data(), &good), 0u);
    EXPECT_EQ(ZImage_CopyScreenToBitmap(8, 6, &rect, nullptr, &good), 0u);
    EXPECT_EQ(ZImage_CopyScreenToBitmap(8, 6, &rect, pixels.data(), nullptr), 0u);
    EXPECT_EQ(ZImage_CopyScreenToBitmap(0, 6, &rect, pixels.data(), &good), 0u);
    EXPECT_EQ(ZImage_CopyScreenToBitmap(9, 6, &rect, pixels.data(), &good), 0u) << "header width differs";
    auto compressed = good;
    compressed.biCompression = 3;
    EXPECT_EQ(ZImage_CopyScreenToBitmap(8, 6, &rect, pixels.data(), &compressed), 0u);
    const auto paletted = Header(8, 6, 8);
    EXPECT_EQ(ZImage_CopyScreenToBitmap(8, 6, &rect, pixels.data(), &paletted), 0u);
    auto short_buffer = good;
    short_buffer.biSizeImage = 10;
    EXPECT_EQ(ZImage_CopyScreenToBitmap(8, 6, &rect, pixels.data(), &short_buffer), 0u);
    const auto huge = Header(70000, 70000);
    EXPECT_EQ(ZImage_CopyScreenToBitmap(70000, 70000, &rect, pixels.data(), &huge), 0u);
    for (const std::uint8_t byte : pixels) ASSERT_EQ(byte, 0x5A);
}

class ZImageScreenXvfb : public ::testing::Test {
protected:
    void SetUp() override {
        if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
        server_.emplace();
        ASSERT_FALSE(server_->display().empty()) << "Xvfb did not start";
        display_.emplace("DISPLAY", server_->display().c_str());
    }
    void TearDown() override {
        display_.reset();
        server_.reset();
    }

    // Copies `rect` at out_width x out_height; the buffer is exactly the image size.
    std::vector<std::uint8_t> Copy(ZImageRect rect, int out_width, int out_height, int bits, bool top_down,
                                   std::uint32_t* result) {
        const auto header = Header(out_width, top_down ? -out_height : out_height, bits);
        std::vector<std::uint8_t> pixels(header.biSizeImage, 0x5A);
        *result = ZImage_CopyScreenToBitmap(out_width, out_height, &rect, pixels.data(), &header);
        return pixels;
    }

    std::optional<XvfbServer> server_;
    std::optional<ScopedEnv> display_;
};

TEST_F(ZImageScreenXvfb, CopiesAndScalesTheWhiteScreen) {
    std::uint32_t result = 0;
    for (const auto& [w, h] : {std::pair{64, 48}, std::pair{32, 24}, std::pair{100, 7}}) {
        const auto pixels = Copy({0, 0, 64, 48}, w, h, 24, false, &result);
        ASSERT_NE(result, 0u) << w << "x" << h;
        const std::size_t stride = ZImage_CalcWidthBytes(w, 24);
        for (int y = 0; y < h; ++y) {
            for (std::size_t i = 0; i < static_cast<std::size_t>(w) * 3; ++i) ASSERT_EQ(pixels[y * stride + i], 255);
        }
    }
}

TEST_F(ZImageScreenXvfb, OffScreenPartIsBlackAndRowsFollowTheHeader) {
    // 8 rows of screen over 8 rows below its bottom edge.
    const ZImageRect rect{0, 40, 64, 56};
    std::uint32_t result = 0;
    struct Format {
        int bits;
        bool top_down;
        std::uint8_t white_last_byte;  // the unused fourth byte is 0, 5-5-5 white is 0x7FFF
    };
    for (const Format f : {Format{24, false, 255}, Format{24, true, 255}, Format{32, false, 0}, Format{16, true, 0x7F}}) {
        const auto pixels = Copy(rect, 64, 16, f.bits, f.top_down, &result);
        ASSERT_NE(result, 0u) << f.bits;
        const std::size_t stride = ZImage_CalcWidthBytes(64, f.bits);
        const std::size_t pixel_bytes = static_cast<std::size_t>(f.bits) / 8;
        for (int row = 0; row < 16; ++row) {
            const bool screen_row = f.top_down ? row < 8 : row >= 8;
            const std::uint8_t* p = pixels.data() + row * stride + 10 * pixel_bytes;
            EXPECT_EQ(p[0], screen_row ? 255 : 0) << "bits " << f.bits << " row " << row;
            EXPECT_EQ(p[pixel_bytes - 1], screen_row ? f.white_last_byte : 0) << "bits " << f.bits << " row " << row;
        }
    }
    const auto none = Copy({100, 100, 164, 116}, 64, 16, 24, false, &result);
    EXPECT_NE(result, 0u) << "a rectangle wholly off the screen copies black";
    EXPECT_EQ(none[0], 0);
}

TEST_F(ZImageScreenXvfb, SurvivesTheServerGoingAway) {
    std::uint32_t result = 0;
    Copy({0, 0, 8, 8}, 8, 8, 24, false, &result);
    ASSERT_NE(result, 0u);
    server_->Stop();
    Copy({0, 0, 8, 8}, 8, 8, 24, false, &result);
    EXPECT_EQ(result, 0u);

    XvfbServer second;
    ASSERT_FALSE(second.display().empty());
    ScopedEnv display("DISPLAY", second.display().c_str());
    Copy({0, 0, 8, 8}, 8, 8, 24, false, &result);
    EXPECT_NE(result, 0u) << "a new server is reached with a new connection";
}

}  // namespace
