#include "screen_grabber.h"

#include <X11/Xutil.h>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace lumora::zimage {

namespace {

// True when the image is already in the canvas format: four bytes a pixel, blue first.
bool IsBgrx(const XImage& image) {
    return image.format == ZPixmap && image.bits_per_pixel == 32 && image.byte_order == LSBFirst &&
           image.red_mask == 0xFF0000 && image.green_mask == 0xFF00 && image.blue_mask == 0xFF;
}

// One colour channel of an X pixel value, widened to eight bits.
std::uint8_t Channel(unsigned long pixel, unsigned long mask) {
    const int shift = std::countr_zero(mask);
    const unsigned long max = mask >> shift;
    return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255 / max);
}

// Converts an image of any true-colour visual to four bytes a pixel, pixel by pixel. Slow,
// but only servers with unusual visuals (16-bit depth, big-endian) come here.
bool ConvertToBgrx(const XImage& image, cv::Mat& out) {
    if (image.red_mask == 0 || image.green_mask == 0 || image.blue_mask == 0) return false;
    auto& readable = const_cast<XImage&>(image);  // XGetPixel only reads, but takes no const
    out.create(image.height, image.width, CV_8UC4);
    for (int y = 0; y < image.height; ++y) {
        auto* row = out.ptr<std::uint8_t>(y);
        for (int x = 0; x < image.width; ++x, row += 4) {
            const unsigned long pixel = XGetPixel(&readable, x, y);
            row[0] = Channel(pixel, image.blue_mask);
            row[1] = Channel(pixel, image.green_mask);
            row[2] = Channel(pixel, image.red_mask);
            row[3] = 0;
        }
    }
    return true;
}

// Where screen coordinate `value` of a rectangle starting at `origin` and `span` long lands
// on an output `size` long.
int MapToOutput(std::int64_t value, std::int64_t origin, std::int64_t span, std::int64_t size) {
    return static_cast<int>(((value - origin) * size + span / 2) / span);
}

}  // namespace

ScreenGrabber& ScreenGrabber::Instance() {
    static ScreenGrabber grabber;
    return grabber;
}

bool ScreenGrabber::Grab(const ZImageRect& rect, const DibTarget& target) {
    if (static_cast<std::int64_t>(rect.right) <= rect.left || static_cast<std::int64_t>(rect.bottom) <= rect.top) {
        return false;
    }
    std::lock_guard lock(mutex_);
    // A server that was restarted under the same display name leaves our connection
    // useless without a word; one fresh connection is worth a try before giving up.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (Connect() == nullptr) return false;
        canvas_.create(target.height(), target.width(), CV_8UC4);
        if (ReadInto(rect, target)) {
            WriteCanvas(target);
            return true;
        }
        Disconnect();
    }
    return false;
}

void ScreenGrabber::Disconnect() {
    reader_.reset();  // reads through the connection: goes first
    connection_.reset();
}

XDisplayConnection* ScreenGrabber::Connect() {
    const char* env = std::getenv("DISPLAY");
    const std::string name = env != nullptr ? env : "";
    if (connection_ && (connection_->broken() || connection_->name() != name)) Disconnect();
    if (!connection_) {
        connection_ = XDisplayConnection::Open(name);
        if (connection_) reader_ = std::make_unique<XScreenReader>(*connection_);
    }
    return connection_.get();
}

bool ScreenGrabber::ReadScreenSize(int& width, int& height) {
    Window root_return = 0;
    int x = 0;
    int y = 0;
    unsigned int w = 0;
    unsigned int h = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    connection_->ClearErrors();
    if (!XGetGeometry(connection_->display(), connection_->root(), &root_return, &x, &y, &w, &h, &border, &depth)) {
        return false;
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return !connection_->broken();
}

bool ScreenGrabber::ReadInto(const ZImageRect& rect, const DibTarget& target) {
    int screen_width = 0;
    int screen_height = 0;
    if (!ReadScreenSize(screen_width, screen_height)) return false;

    const std::int64_t left = std::max<std::int64_t>(rect.left, 0);
    const std::int64_t top = std::max<std::int64_t>(rect.top, 0);
    const std::int64_t right = std::min<std::int64_t>(rect.right, screen_width);
    const std::int64_t bottom = std::min<std::int64_t>(rect.bottom, screen_height);
    const bool whole = left == rect.left && top == rect.top && right == rect.right && bottom == rect.bottom;
    if (!whole) canvas_.setTo(cv::Scalar::all(0));
    if (right <= left || bottom <= top) return true;  // wholly off the screen: black

    const std::int64_t span_x = static_cast<std::int64_t>(rect.right) - rect.left;
    const std::int64_t span_y = static_cast<std::int64_t>(rect.bottom) - rect.top;
    const int out_x0 = MapToOutput(left, rect.left, span_x, target.width());
    const int out_x1 = MapToOutput(right, rect.left, span_x, target.width());
    const int out_y0 = MapToOutput(top, rect.top, span_y, target.height());
    const int out_y1 = MapToOutput(bottom, rect.top, span_y, target.height());
    if (out_x1 <= out_x0 || out_y1 <= out_y0) return true;  // the visible part is below a pixel

    const XImage* image = reader_->Read(static_cast<int>(left), static_cast<int>(top),
                                        static_cast<int>(right - left), static_cast<int>(bottom - top));
    if (image == nullptr) return false;
    cv::Mat screen;
    if (IsBgrx(*image)) {
        screen = cv::Mat(image->height, image->width, CV_8UC4, image->data, static_cast<size_t>(image->bytes_per_line));
    } else if (ConvertToBgrx(*image, converted_)) {
        screen = converted_;
    } else {
        return false;
    }

    cv::Mat place = canvas_(cv::Rect(out_x0, out_y0, out_x1 - out_x0, out_y1 - out_y0));
    if (place.size() == screen.size()) {
        screen.copyTo(place);
    } else {
        const bool shrinking = place.cols < screen.cols && place.rows < screen.rows;
        cv::resize(screen, place, place.size(), 0, 0, shrinking ? cv::INTER_AREA : cv::INTER_LINEAR);
    }
    return true;
}

void ScreenGrabber::WriteCanvas(const DibTarget& target) const noexcept {
    for (int row = 0; row < target.height(); ++row) target.WriteRow(row, canvas_.ptr<std::uint8_t>(row));
}

}  // namespace lumora::zimage
