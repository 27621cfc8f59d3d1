// VideoFileSource: the "Source" of a video-file graph — uridecodebin over the file, which
// finds the container and the decoders (AVI, MPEG, WMV/ASF, QuickTime/MOV, MP4, MKV, ...
// whatever the installed GStreamer plug-ins read). Its streams appear as the pipeline
// starts: the first video stream is connected, converted to what it takes (see
// ChainConnector), through "Orientation" and "Decoded Queue" to the chain's first element,
// the first audio stream to an AudioOutput, and any other stream is left alone.
// "Orientation" (videoflip) turns the picture upright as the file's orientation tag says (a
// phone video recorded sideways) and passes it through untouched when there is none; the
// queue, a few frames long, lets the decoder go on while the grabber hands a frame off.
// An animated picture (GIF) is read by an AnimationSource instead of the decoder. When the
// streams are all known the source posts the application message kStreamsKnown on the
// pipeline's bus, so the builder knows whether the file has video at all.
//
// Threads: Add on the user-interface thread with the pipeline in NULL; the pad handlers run
// on the decoder's streaming threads. Lifetime: borrows the pipeline and the chain element;
// the handlers are disconnected on destruction, which must come after the pipeline is back
// in NULL.
#pragma once

#include "platform/hresult.h"

#include <gst/gst.h>

#include <atomic>
#include <string>

namespace lumora {

class VideoFileSource {
public:
    static constexpr char kStreamsKnown[] = "lumora-streams-known";

    VideoFileSource(GstBin* pipeline, GstElement* chainStart, bool realTime)
        : pipeline_(pipeline), chainStart_(chainStart), realTime_(realTime) {}
    ~VideoFileSource();
    VideoFileSource(const VideoFileSource&) = delete;
    VideoFileSource& operator=(const VideoFileSource&) = delete;

    // Adds the decoder for `path` as "Source". E_FAIL (with the reason recorded as the media
    // error text) when the path is no file name, the decoder is not installed or an
    // animated picture does not decode.
    HRESULT Add(const std::string& path);

    GstElement* Element() const { return source_; }

    // Valid once kStreamsKnown has been posted: whether a video stream was connected, and
    // the failure of its connection if one failed.
    bool HasVideo() const { return videoLinked_.load(); }
    HRESULT VideoLinkResult() const { return videoResult_.load(); }

private:
    static void OnPadAdded(GstElement* source, GstPad* pad, gpointer self);
    static void OnNoMorePads(GstElement* source, gpointer self);
    HRESULT AddDecoder(const std::string& path);
    HRESULT AddAnimation(const std::string& path);
    void LinkVideo(GstPad* pad);
    void LinkAudio(GstPad* pad);

    GstBin* pipeline_;
    GstElement* chainStart_;
    bool realTime_;
    GstElement* source_ = nullptr;
    GstElement* orientation_ = nullptr;  // "Orientation", where the video comes in (borrowed)
    gulong padAddedHandler_ = 0;
    gulong noMorePadsHandler_ = 0;
    std::atomic<bool> videoClaimed_{false};
    std::atomic<bool> audioClaimed_{false};
    std::atomic<bool> videoLinked_{false};
    std::atomic<HRESULT> videoResult_{S_OK};
};

}  // namespace lumora
