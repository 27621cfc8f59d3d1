#include "app/window/command_ids.h"
#include "app/window/main_window_layout.h"
#include "tools/file_chooser.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(MainWindowLayout, EverythingFollowsTheVideoSize) {
    const MainWindowLayout vga(QSize(640, 480));
    EXPECT_EQ(vga.Window(), QSize(706, 567));
    EXPECT_EQ(vga.Preview(), QRect(24, 68, 640, 480));
    EXPECT_EQ(vga.Button(cmd::kClose), QRect(681, 5, 20, 20));
    EXPECT_EQ(vga.Button(cmd::kMinimize), QRect(656, 5, 20, 20));
    EXPECT_EQ(vga.Button(cmd::kFileButton), QRect(10, 36, 20, 13));
    EXPECT_EQ(vga.Button(cmd::kSkinButton), QRect(146, 36, 25, 13));
    // The options button sits halfway down the video, against the right edge.
    const QRect options = vga.Button(cmd::kOptionsButton);
    EXPECT_EQ(options, QRect(688, 269, 13, 78));
    EXPECT_EQ(options.center().y(), vga.Preview().center().y());
    EXPECT_TRUE(vga.Button(cmd::kVideoFile).isEmpty());

    // No format yet, or a nonsensical one: the 320 x 240 fallback.
    for (const QSize none : {QSize(0, 0), QSize(640, 0), QSize(-5, 480)}) {
        const MainWindowLayout fallback(none);
        EXPECT_EQ(fallback.Window(), QSize(386, 327));
        EXPECT_EQ(fallback.Button(cmd::kOptionsButton).center().y(), fallback.Preview().center().y());
    }
}

TEST(MainWindowLayout, CaptionBandLeavesOutCloseAndMinimize) {
    const QSize window(706, 567);
    EXPECT_TRUE(MainWindowLayout::InCaption({0, 0}, window));
    EXPECT_TRUE(MainWindowLayout::InCaption({655, 29}, window));
    EXPECT_FALSE(MainWindowLayout::InCaption({656, 10}, window));  // Minimize's column
    EXPECT_FALSE(MainWindowLayout::InCaption({300, 30}, window));  // below the band
    EXPECT_FALSE(MainWindowLayout::InCaption({-1, 10}, window));
    EXPECT_FALSE(MainWindowLayout::InCaption({20, 10}, QSize(40, 100)));  // narrower than the buttons
}

TEST(FileChooser, FiltersReadTheWayQtMatchesThem) {
    EXPECT_EQ(
        FileChooser::QtFilter({"Image Files (*.bmp; *.jpg; *.gif; *.wmf; *.ico)", "*.bmp; *.jpg; *.gif; *.wmf; *.ico"}),
        "Image Files (*.bmp *.jpg *.gif *.wmf *.ico)");
    EXPECT_EQ(FileChooser::QtFilter({"All Files (*.*)", "*.*;"}), "All Files (*)");
    EXPECT_EQ(FileChooser::QtFilter({"Playlist", "*.pls"}), "Playlist (*.pls)");
}

}  // namespace
}  // namespace lumora
