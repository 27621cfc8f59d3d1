#include "video/source_chain.h"

#include "platform/media_error.h"
#include "video/grabber_frame_layout.h"
#include "video/preview_sink.h"

#include <gst/video/video.h>

#include <initializer_list>

namespace lumora {
namespace {

GstElement* Own(GstElement* element) { return element ? GST_ELEMENT(gst_object_ref_sink(element)) : nullptr; }

void Drop(GstElement*& element) {
    if (element != nullptr) gst_object_unref(element);
    element = nullptr;
}

// The caps at the grabber's input: negotiated, or else the first the upstream offers.
GstCaps* GrabberInputCaps(GstElement* grabber) {
    GstPad* pad = gst_element_get_static_pad(grabber, "sink");
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (caps == nullptr && gst_pad_is_linked(pad)) {
        GstCaps* allowed = gst_pad_get_allowed_caps(pad);
        if (allowed != nullptr && !gst_caps_is_empty(allowed)) {
            caps = gst_caps_fixate(allowed);
        } else if (allowed != nullptr) {
            gst_caps_unref(allowed);
        }
    }
    gst_object_unref(pad);
    return caps;
}

}  // namespace

HRESULT SourceChain::Create(GrabberBufferCallback frames, GrabberFormatCallback formats, GrabberBlockCallback blocks,
                            bool realTime) {
    Release();
    grabber_ = Own(CreateGrabberElement(GrabberMode::kVideoFrames, "Grabber"));
    tee_ = Own(gst_element_factory_make("tee", "InfTee1"));
    queue_ = Own(gst_element_factory_make("queue", "Preview Queue"));
    previewSink_ = Own(CreatePreviewSink("Video Renderer"));
    owned_ = true;
    if (!grabber_ || !tee_ || !queue_ || !previewSink_) {
        Release();
        return E_OUTOFMEMORY;
    }
    SetGrabberCallbacks(grabber_, std::move(frames), std::move(formats), std::move(blocks));
    // One frame in hand: the grabber then keeps pace with the preview instead of running up
    // to a queue's worth of frames ahead of what is shown (and of the sound).
    g_object_set(queue_, "max-size-buffers", 1u, "max-size-bytes", 0u, "max-size-time", guint64{0}, nullptr);
    g_object_set(previewSink_, "sync", realTime ? TRUE : FALSE, nullptr);
    return S_OK;
}

HRESULT SourceChain::AddTo(GstBin* pipeline) {
    if (!owned_ || grabber_ == nullptr) return E_UNEXPECTED;
    // The pipeline holds them from here on and our pointers are borrowed; one it refused
    // is gone.
    bool added = true;
    for (GstElement** element : {&grabber_, &tee_, &queue_, &previewSink_}) {
        const bool taken = gst_bin_add(pipeline, *element);
        gst_object_unref(*element);
        if (!taken) *element = nullptr;
        added = added && taken;
    }
    owned_ = false;
    if (!added || !gst_element_link(grabber_, tee_)) return E_FAIL;
    GstPad* output = gst_element_request_pad_simple(tee_, "src_%u");
    GstPad* input = gst_element_get_static_pad(queue_, "sink");
    const bool linked = output && GST_PAD_LINK_SUCCESSFUL(gst_pad_link(output, input));
    if (output) gst_object_unref(output);
    gst_object_unref(input);
    return linked && gst_element_link(queue_, previewSink_) ? S_OK : E_FAIL;
}

bool SourceChain::PreviewConnected() const {
    if (previewSink_ == nullptr) return false;
    GstPad* pad = gst_element_get_static_pad(previewSink_, "sink");
    const bool linked = gst_pad_is_linked(pad);
    gst_object_unref(pad);
    return linked;
}

HRESULT SourceChain::ReadFormat(ZImageBitmapInfoHeader* format) const {
    if (grabber_ == nullptr || format == nullptr) return E_POINTER;
    GstCaps* caps = GrabberInputCaps(grabber_);
    GstVideoInfo info;
    const bool known = caps != nullptr && gst_video_info_from_caps(&info, caps) && GST_VIDEO_INFO_WIDTH(&info) > 0 &&
                       GST_VIDEO_INFO_HEIGHT(&info) > 0;
    if (caps != nullptr) gst_caps_unref(caps);
    if (!known) return RecordMediaError(E_FAIL, "No 24-bit RGB video reaches the grabber.");
    *format = ZImageBitmapInfoHeader{};
    format->biSize = sizeof(ZImageBitmapInfoHeader);
    format->biWidth = GST_VIDEO_INFO_WIDTH(&info);
    format->biHeight = GST_VIDEO_INFO_HEIGHT(&info);
    format->biPlanes = 1;
    format->biBitCount = 24;
    format->biSizeImage =
        static_cast<std::uint32_t>(DibStride(format->biWidth) * static_cast<std::size_t>(format->biHeight));
    return S_OK;
}

HRESULT SourceChain::Attach(PreviewTarget* target) {
    if (!PreviewConnected()) return E_FAIL;
    if (target != nullptr) {
        target->SetVideoRect(QRect(QPoint(0, 0), target->PreviewSize()));
        target->SetVideoVisible(true);
    }
    SetPreviewTarget(previewSink_, target);
    attached_ = target;
    return S_OK;
}

void SourceChain::Detach() {
    if (previewSink_ != nullptr) SetPreviewTarget(previewSink_, nullptr);
    if (attached_ != nullptr) attached_->SetVideoVisible(false);
    attached_ = nullptr;
}

void SourceChain::Release() {
    Detach();
    if (grabber_ != nullptr) ClearGrabberCallbacks(grabber_);
    if (owned_) {
        for (GstElement** element : {&grabber_, &tee_, &queue_, &previewSink_}) Drop(*element);
    }
    grabber_ = tee_ = queue_ = previewSink_ = nullptr;
    owned_ = false;
}

}  // namespace lumora
