// PushSourceFilter: Lumora's own source element for the desktop and still-picture sources.
// A GstPushSrc subclass ("LumoraPushSource", factory "lumorapushsrc", registered inside the
// program only) around one PushSourcePin (push_source_pin.h), which does the work:
//
//   caps      the pin's formats in its order: BGRx (RGB32), BGR (RGB24), RGB16 (5-6-5),
//             RGB15 (5-5-5), each at the output size and framerate 10,000,000 / frame
//             length (reduced: 30 fps is 10000000/333333). The 8-bit format stays out: its
//             palette is empty and GStreamer has no paletted format to negotiate it with.
//             Negotiated caps go through CheckMediaType and SetMediaType.
//   buffers   DecideBufferSize configures the buffer pool (the one downstream proposes, or
//             our own): at least one buffer of the image size.
//   fill      FillBuffer writes the frame straight into the buffer, rows top-down as
//             GStreamer has them (the screen copy writes that order itself; the picture is
//             kept converted and turned over once, so each frame is a single copy).
//             PTS = frame number x frame length x 100 ns, duration = frame length x 100 ns;
//             every buffer is a key frame. A failed screen copy or a missing picture is not
//             an error: the buffer goes out with its time stamps whatever it holds.
//
// The element is not live, in either mode: like the pin it never waits between frames, and
// the time stamps say when each frame is due. Behind a clock-synchronised sink a still
// picture or the desktop therefore plays at its frame rate in real time; a consumer that
// turns synchronisation off (lumora-cli --fast) gets frames as fast as it takes them. It
// cannot seek; the time stamps start at 0 with every new element.
//
// Threads: create and configure on one thread before the pipeline leaves NULL; GStreamer
// calls the rest on its own threads. Needs gst_init(); picture loading needs the Qt
// application (see zimage.h).
#pragma once

#include "platform/hresult.h"

#include <gst/gst.h>

#include <cstdint>

namespace lumora {

class PushSourcePin;

inline constexpr char kPushSourceFactoryName[] = "lumorapushsrc";

// Registers the element factory in this process; later calls only answer. False when
// GStreamer is not initialised or registration failed.
bool RegisterPushSource();

// A new push source (a floating reference, as gst_element_factory_make gives), in desktop
// mode over the whole X screen (0, 0, 640, 480 without a display), 640 x 480 at 5 frames
// per second. `result`, when given, receives S_OK, E_OUTOFMEMORY when the element or its
// pin could not be made, or E_UNEXPECTED when GStreamer is not initialised.
GstElement* CreatePushSource(HRESULT* result = nullptr, const char* name = nullptr);

bool IsPushSource(GstElement* element);

// Desktop mode: the screen rectangle (right and bottom just outside) scaled to width x
// height, at framesPerSecond clamped to 1...30. False only when `source` is not a push source.
bool SetDesktopSource(GstElement* source, std::int32_t left, std::int32_t top, std::int32_t right,
                      std::int32_t bottom, std::int32_t width, std::int32_t height, std::int32_t framesPerSecond);

// Image mode: the picture at `path` scaled to width x height, at framesPerSecond clamped to
// 1...30. False when the picture did not load (or `source` is not a push source); the
// source must not be started then.
bool SetImageSource(GstElement* source, const char* path, std::int32_t width, std::int32_t height,
                    std::int32_t framesPerSecond);

// The element's pin, or null when `source` is not a push source. Owned by the element.
PushSourcePin* PushSourcePinOf(GstElement* source);

}  // namespace lumora
