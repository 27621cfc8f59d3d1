#include "video/animation_source.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include <gst/app/gstappsrc.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <numeric>

namespace lumora {
namespace {

// The frames of one animation, read in order; Restart goes back to the first. Every call
// takes the lock (see the header for the threads).
class AnimationDecoder {
public:
    explicit AnimationDecoder(QString path) : path_(std::move(path)) {}

    // Goes back to the first frame and decodes it. False when it cannot be decoded.
    bool Restart() {
        std::lock_guard lock(mutex_);
        return RestartLocked();
    }

    // The next frame, stamped and timed, or null after the last one.
    GstBuffer* Next() {
        std::lock_guard lock(mutex_);
        if (pending_.isNull()) ReadLocked();
        if (pending_.isNull()) return nullptr;
        GstBuffer* buffer = Wrap(std::move(pending_));
        GST_BUFFER_PTS(buffer) = start_;
        GST_BUFFER_DURATION(buffer) = pendingDelay_;
        start_ += pendingDelay_;
        pending_ = QImage();
        return buffer;
    }

    // Makes the frame shown at `time` the next one. False when the file no longer decodes.
    bool SkipTo(GstClockTime time) {
        std::lock_guard lock(mutex_);
        if (!RestartLocked()) return false;
        while (start_ + pendingDelay_ <= time) {
            start_ += pendingDelay_;
            if (!ReadLocked()) return true;  // past the end: end of stream follows
        }
        // The frame shown at `time` starts there, for the rest of its delay.
        pendingDelay_ -= time - start_;
        start_ = time;
        return true;
    }

    QSize Size() const { return size_; }  // fixed by the first Restart
    GstClockTime FirstDelay() const { return firstDelay_; }

private:
    bool RestartLocked() {
        reader_ = std::make_unique<QImageReader>(path_);
        start_ = 0;
        pending_ = QImage();
        if (!ReadLocked()) return false;
        if (size_.isEmpty()) {
            size_ = pending_.size();
            firstDelay_ = pendingDelay_;
        }
        return true;
    }

    // Decodes the next frame into pending_; false (pending_ null) at the end or on damage.
    bool ReadLocked() {
        pending_ = QImage();
        if (reader_ == nullptr || !reader_->canRead()) return false;
        QImage image = reader_->read();
        if (image.isNull()) return false;
        const int delay = reader_->nextImageDelay();
        pendingDelay_ = static_cast<GstClockTime>(delay <= AnimationSource::kShortestDelayMs
                                                      ? AnimationSource::kDefaultDelayMs
                                                      : delay) * GST_MSECOND;
        // Premultiplied pixels read as BGRx are the picture over black.
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
        if (!size_.isEmpty() && image.size() != size_) image = image.scaled(size_);
        pending_ = std::move(image);
        return !pending_.isNull();
    }

    // A buffer over the frame's own pixels; the buffer keeps the frame until it is freed.
    static GstBuffer* Wrap(QImage frame) {
        auto* held = new QImage(std::move(frame));
        return gst_buffer_new_wrapped_full(GST_MEMORY_FLAG_READONLY, const_cast<uchar*>(held->constBits()),
                                           static_cast<gsize>(held->sizeInBytes()), 0,
                                           static_cast<gsize>(held->sizeInBytes()), held,
                                           [](gpointer image) { delete static_cast<QImage*>(image); });
    }

    std::mutex mutex_;
    const QString path_;
    std::unique_ptr<QImageReader> reader_;
    QImage pending_;
    GstClockTime pendingDelay_ = 0;
    GstClockTime start_ = 0;  // of the pending frame
    QSize size_;
    GstClockTime firstDelay_ = 0;
};

void OnNeedData(GstAppSrc* source, guint, gpointer decoder) {
    if (GstBuffer* frame = static_cast<AnimationDecoder*>(decoder)->Next()) {
        gst_app_src_push_buffer(source, frame);
    } else {
        gst_app_src_end_of_stream(source);
    }
}

gboolean OnSeekData(GstAppSrc*, guint64 offset, gpointer decoder) {
    return static_cast<AnimationDecoder*>(decoder)->SkipTo(offset) ? TRUE : FALSE;
}

// BGRx of the animation's size; the nominal frame rate is the first frame's.
GstCaps* FrameCaps(const AnimationDecoder& decoder) {
    const auto delayMs = static_cast<gint>(decoder.FirstDelay() / GST_MSECOND);
    const gint divisor = std::gcd(1000, delayMs);
    return gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", "width", G_TYPE_INT,
                               decoder.Size().width(), "height", G_TYPE_INT, decoder.Size().height(), "framerate",
                               GST_TYPE_FRACTION, 1000 / divisor, delayMs / divisor, "pixel-aspect-ratio",
                               GST_TYPE_FRACTION, 1, 1, nullptr);
}

}  // namespace

bool AnimationSource::IsAnimation(const std::string& path) {
    char magic[6] = {};
    std::ifstream file(path, std::ios::binary);
    return file.read(magic, sizeof magic) &&
           (std::memcmp(magic, "GIF87a", sizeof magic) == 0 || std::memcmp(magic, "GIF89a", sizeof magic) == 0);
}

GstElement* AnimationSource::Create(const std::string& path, const char* name) {
    auto decoder = std::make_unique<AnimationDecoder>(QFile::decodeName(path.c_str()));
    if (!decoder->Restart()) return nullptr;
    GstElement* element = gst_element_factory_make("appsrc", name);
    if (element == nullptr) return nullptr;
    GstCaps* caps = FrameCaps(*decoder);
    const auto frameBytes = static_cast<guint64>(decoder->Size().width()) * decoder->Size().height() * 4;
    g_object_set(element, "caps", caps, "format", GST_FORMAT_TIME, "stream-type", GST_APP_STREAM_TYPE_SEEKABLE,
                 "is-live", FALSE, "max-bytes", 2 * frameBytes, nullptr);
    gst_caps_unref(caps);
    GstAppSrcCallbacks callbacks{};
    callbacks.need_data = OnNeedData;
    callbacks.seek_data = OnSeekData;
    gst_app_src_set_callbacks(GST_APP_SRC(element), &callbacks, decoder.release(),
                              [](gpointer owned) { delete static_cast<AnimationDecoder*>(owned); });
    return element;
}

}  // namespace lumora
