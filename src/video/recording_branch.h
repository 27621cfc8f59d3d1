// RecordingBranch: the second output of the tee "InfTee1" in a capture graph that records:
//
//   InfTee1 -> queue -> ["Codec" (converted to what it takes)] -> "Grabber Counter"
//           -> "AVI Mux" (avimux) -> "File Writer" (filesink)
//
// Without a codec the file holds the frames as uncompressed RGB24 (avimux stores them as
// bottom-up DIB rows, which is what players expect). The counter sees every buffer on its
// way to the multiplexer, so the counted bytes are what the file receives. The multiplexer
// finishes the file (frame count, index) when end of stream reaches it, so the graph ends a
// recording with an end of stream before it stops.
//
// Thread: user-interface thread, with the pipeline in NULL or READY.
#pragma once

#include "platform/hresult.h"
#include "video/grabber_element.h"

#include <gst/gst.h>

#include <string>

namespace lumora {

class RecordingBranch {
public:
    static constexpr char kMuxName[] = "AVI Mux";
    static constexpr char kWriterName[] = "File Writer";

    // Builds the branch into `pipeline` from `tee`, writing `fileName` (an existing regular
    // file of that name is deleted first; a device or FIFO is written as it is). `codec` (a
    // floating reference or null) is taken over and added as "Codec". Fails (E_FAIL, the
    // reason recorded as the media error text) when the multiplexer or the file writer
    // cannot be set up or the codec cannot be added and connected; a counter that does not
    // connect is not a failure.
    static HRESULT Build(GstBin* pipeline, GstElement* tee, const std::string& fileName, GstElement* codec,
                         GrabberBufferCallback counter);

    // Whether `pipeline` holds a recording branch.
    static bool Present(GstBin* pipeline);

    // Ends the recording behind `entry` (the grabber, running): an end of stream goes into
    // its input, so the file ends with the last frame that has entered it, whatever the
    // source still holds. Complete() tells when the file writer has taken it (or failed,
    // so that nothing more reaches it).
    static void EndStream(GstElement* entry);
    static bool Complete(GstBin* pipeline);
};

}  // namespace lumora
