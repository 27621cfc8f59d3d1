// PreviewSink: the sink at the end of the source graph's preview branch ("Video Renderer").
// A GstBaseSink that accepts 24-bit BGR video and hands every frame it renders to its
// PreviewTarget; without a target the frame is dropped, and so is a gap buffer (no
// picture). It synchronises to the clock like any video sink (the "sync" property; off for
// as-fast-as-possible runs), renders late frames rather than dropping them, and sends no
// quality-of-service events, so that a slow preview never makes a decoder skip frames that
// the grabber should see.
//
// Threads: rendering runs on the streaming thread; SetPreviewTarget may be called from any
// thread and waits for a PresentFrame in progress, so once it returns the previous target
// is not called again.
#pragma once

#include "video/preview_target.h"

#include <gst/gst.h>

#include <cstdint>

namespace lumora {

inline constexpr char kPreviewSinkFactoryName[] = "lumorapreviewsink";

// Registers the element factory in this process; later calls only answer.
bool RegisterPreviewSink();

// A new preview sink (a floating reference), or null.
GstElement* CreatePreviewSink(const char* name = nullptr);

bool IsPreviewSink(GstElement* element);

// Null detaches. False when `element` is not a preview sink.
bool SetPreviewTarget(GstElement* element, PreviewTarget* target);

// Frames rendered since the element was made (presented or not).
std::uint64_t PreviewFramesRendered(GstElement* element);

}  // namespace lumora
