// GrabberElement: Lumora's sample grabber, a GstBaseTransform working in place. The source
// graph uses it twice:
//
//   "Grabber"          mode kVideoFrames: takes raw video of the formats BgrConversion
//                      converts and gives 24-bit BGR of the same size. It calls its buffer
//                      callback with every frame in the VideoFrame layout (rows bottom-up,
//                      padded to 4 bytes; see grabber_frame_layout.h). When the callback
//                      answers S_OK, what it left in the frame goes on downstream, so
//                      everything behind the grabber sees the processed picture; S_FALSE
//                      says it left the frame as it was, and a failure code that it refused
//                      it: either way the frame goes on as it came. BGR is handed off and
//                      passed on in place; other formats are converted into the block the
//                      callback gets, and that block, the right way up, is what goes on.
//                      The block callback, when there is one, gives the block each frame
//                      is written into (so the hand-off need not copy it) or refuses the
//                      frame with null; without one the element uses a block of its own.
//                      The format callback is called with the 40-byte bitmap-info header
//                      of the outgoing caps, before the first frame in them.
//   "Grabber Counter"  mode kBuffers: any caps, passes every buffer through untouched and
//                      shows the callback its bytes as they are (read only: the callback must
//                      not write them).
//
// In frame mode the element may be told that nothing downstream reads the pixels (a run
// without preview or recording): converted frames then go on as gap buffers without them,
// which saves a copy of every frame.
//
// The sample time given to the callbacks is the buffer's stream time in seconds (0 when the
// buffer has no time stamp).
//
// Threads: create the element and set its mode and callbacks on one thread while it is in
// NULL; the callbacks run on the streaming thread. Setting or clearing callbacks waits for a
// call in progress, so once ClearGrabberCallbacks returns no callback runs any more —
// though the source graph only clears them after the pipeline is back in NULL.
// Statistics may be read from any thread.
//
// Lifetime: the element owns copies of the callback objects; whatever they reference must
// outlive the element's running (the source graph: its store and counter outlive it).
#pragma once

#include "platform/hresult.h"

#include <lumora/zimage.h>

#include <gst/gst.h>

#include <cstdint>
#include <functional>

namespace lumora {

inline constexpr char kGrabberFactoryName[] = "lumoragrabber";

enum class GrabberMode {
    kVideoFrames,  // raw video in, 24-bit BGR out, bottom-up frames for the callback
    kBuffers,      // anything, buffers as they are
};

using GrabberBufferCallback = std::function<HRESULT(double sampleTime, unsigned char* data, long length)>;
using GrabberFormatCallback = std::function<void(const ZImageBitmapInfoHeader& format)>;
using GrabberBlockCallback = std::function<unsigned char*(std::uint32_t length)>;

struct GrabberStatistics {
    std::uint64_t buffers = 0;  // buffers that passed the element
    std::uint64_t refused = 0;  // of those, buffers whose callback answered a failure code
    // Frame mode: frames that never arrived, by the time stamps of a fixed-rate stream
    // (dropped by the source or a decoder before the grabber).
    std::uint64_t missed = 0;
};

// Registers the element factory in this process; later calls only answer. False when
// GStreamer is not initialised or registration failed.
bool RegisterGrabberElement();

// A new grabber in `mode` (a floating reference, as gst_element_factory_make gives), or null.
// An element made from the factory by name is in kBuffers mode.
GstElement* CreateGrabberElement(GrabberMode mode, const char* name = nullptr);

bool IsGrabberElement(GstElement* element);

// False when `element` is not a grabber. Any callback may be empty; a block callback is
// only used together with a buffer callback, which is called right after it on the block
// it gave.
bool SetGrabberCallbacks(GstElement* element, GrabberBufferCallback buffer, GrabberFormatCallback format = {},
                         GrabberBlockCallback block = {});
void ClearGrabberCallbacks(GstElement* element);

// Zero for anything that is not a grabber.
// Whether anything downstream reads the frames' pixels (at first: yes). Any thread; frames
// from then on follow it. A frame converted while nothing reads it goes on as a gap buffer
// (GST_BUFFER_FLAG_GAP) whose pixels are undefined.
void SetGrabberOutputRead(GstElement* element, bool read);

GrabberStatistics ReadGrabberStatistics(GstElement* element);

}  // namespace lumora
