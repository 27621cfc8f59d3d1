// Reads and applies the CaptureFormat of a capture source element (a v4l2src, a test
// camera): what the source graph does with its capture pin.
//
// The capture pin is the element's "src" pad, else its first source pad.
//
// ReadCaptureFormat: clears the record but keeps its applied flag, then fills it from the
// caps the pin has negotiated. A pin that has negotiated nothing yet, or carries no video,
// leaves the record cleared and answers S_OK; video the record cannot express answers
// E_NOINTERFACE (record cleared); an element without a source pad answers E_FAIL.
//
// ApplyCaptureFormat: does nothing (S_OK, no request) unless the applied flag is clear,
// the frame time is non-zero and width and height are both at least 1. Otherwise it sets
// the applied flag first — a remembered format is tried once per run, whatever happens —
// and builds the caps to request from the device (for the source graph to put into a
// capsfilter behind it): subtype, size and the frame rate, spelled as the device spells it
// when one of the device's rates has that frame time. If the device cannot produce them
// (they do not intersect its caps) or the subtype is unknown, there is no request and the
// answer is E_FAIL: the device keeps its own format and nobody is told.
// The device's caps are what its pin answers to a caps query, so a v4l2src should be in
// READY (where it has probed the hardware) when this is called.
//
// Thread: user-interface thread, like the source graph. The element is borrowed: it must
// outlive the negotiator.
#pragma once

#include "platform/hresult.h"
#include "video/capture_format.h"

#include <gst/gst.h>

namespace lumora {

class CaptureFormatNegotiator {
public:
    explicit CaptureFormatNegotiator(GstElement* device) : device_(device) {}

    HRESULT ReadCaptureFormat(CaptureFormat& format) const;

    // `request` receives new caps (caller unrefs) or null. E_POINTER when it is null.
    HRESULT ApplyCaptureFormat(CaptureFormat& format, GstCaps** request) const;

private:
    // The capture pin with a reference the caller drops, or null.
    GstPad* CapturePad() const;

    GstElement* device_;
};

}  // namespace lumora
