// SourceChain: the part every source graph shares behind its source —
//
//   [source] -> "Grabber" -> "InfTee1" -> "Preview Queue" -> "Video Renderer"
//
// The grabber (GrabberElement, frame mode) hands each frame to the frame hand-off and
// reports every negotiated format; the tee's first output is the preview, whose sink
// (PreviewSink) paints into the PreviewTarget while attached. A recording branch may take
// a further tee output (RecordingBranch).
//
// The preview output is connected together with the tee, before the source is joined:
// a video file's decoder starts while the graph is being built, and must never meet a tee
// without an output.
//
// Thread: user-interface thread. Lifetime: Create makes new elements (dropping any
// earlier ones); AddTo hands them to the pipeline, which owns them from then on; the
// chain keeps plain pointers, valid until Release, which must come after the pipeline is
// back in NULL (it clears the grabber's callbacks) or after the elements were removed.
#pragma once

#include "platform/hresult.h"
#include "video/grabber_element.h"
#include "video/preview_target.h"

#include <gst/gst.h>

namespace lumora {

class SourceChain {
public:
    SourceChain() = default;
    ~SourceChain() { Release(); }
    SourceChain(const SourceChain&) = delete;
    SourceChain& operator=(const SourceChain&) = delete;

    // E_OUTOFMEMORY when an element cannot be made (nothing is kept then). The callbacks
    // go to the grabber (see grabber_element.h). `realTime`: whether the preview
    // synchronises to the clock.
    HRESULT Create(GrabberBufferCallback frames, GrabberFormatCallback formats, GrabberBlockCallback blocks,
                   bool realTime);

    // Adds grabber, tee and the preview output to `pipeline` and links them. E_FAIL on failure.
    HRESULT AddTo(GstBin* pipeline);

    // The chain's own elements; null before Create and after Release.
    GstElement* Grabber() const { return grabber_; }
    GstElement* Tee() const { return tee_; }
    GstElement* PreviewSink() const { return previewSink_; }

    // Whether the tee's preview output is connected to the preview sink.
    bool PreviewConnected() const;

    // The format of the frames at the grabber: the negotiated caps when there are any,
    // otherwise the caps the grabber will be offered (a live source negotiates only once it
    // runs). E_FAIL (the reason recorded) when no 24-bit RGB video can reach the grabber.
    HRESULT ReadFormat(ZImageBitmapInfoHeader* format) const;

    // Attach: the video fills the target's preview window and is shown. E_FAIL when the
    // preview output is not connected. Null target: frames are dropped (headless).
    HRESULT Attach(PreviewTarget* target);
    // Stops the frames and hides the video. Safe to repeat.
    void Detach();

    // Forgets the elements, after clearing the grabber's callbacks (see lifetime above).
    void Release();

private:
    GstElement* grabber_ = nullptr;
    GstElement* tee_ = nullptr;
    GstElement* queue_ = nullptr;
    GstElement* previewSink_ = nullptr;
    bool owned_ = false;  // the elements are ours (Create) until AddTo gives them away
    PreviewTarget* attached_ = nullptr;
};

}  // namespace lumora
