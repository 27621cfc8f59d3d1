// ScreenGrabber: copies a rectangle of the X screen named by $DISPLAY into a caller's
// buffer, scaled to the output size. One grabber serves the process (Instance()); it keeps
// its connection open between copies and opens a new one when $DISPLAY names another
// server or the server went away.
//
// Threads: Grab may be called from any thread; calls are serialised by the grabber's lock.
// The grabber lives until the end of the process, so callers must have stopped calling it
// by then (every Lumora thread is joined before exit).
#pragma once

#include "dib_target.h"
#include "x_display_connection.h"
#include "x_screen_reader.h"

#include <lumora/zimage.h>

#include <opencv2/core/mat.hpp>

#include <memory>
#include <mutex>

namespace lumora::zimage {

class ScreenGrabber {
public:
    static ScreenGrabber& Instance();

    // Copies `rect` (X screen coordinates, right and bottom outside) into `target`. Parts
    // of the rectangle off the screen come out black. False without a display, for an
    // empty rectangle, or when the server refuses the read. May throw what OpenCV throws.
    bool Grab(const ZImageRect& rect, const DibTarget& target);

private:
    ScreenGrabber() = default;

    // The connection to $DISPLAY, (re)opened as needed; null when there is none.
    XDisplayConnection* Connect();
    void Disconnect();
    bool ReadScreenSize(int& width, int& height);
    // Scales the screen part into canvas_, at the place the rectangle maps it to.
    bool ReadInto(const ZImageRect& rect, const DibTarget& target);
    void WriteCanvas(const DibTarget& target) const noexcept;

    std::mutex mutex_;
    std::unique_ptr<XDisplayConnection> connection_;
    std::unique_ptr<XScreenReader> reader_;
    cv::Mat canvas_;     // output size, four bytes a pixel (blue, green, red, unused), top row first
    cv::Mat converted_;  // screen pixels of unusual visuals, converted to the canvas format
};

}  // namespace lumora::zimage
