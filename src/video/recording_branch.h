// RecordingBranch: the second output of the tee "InfTee1" in a graph that records:
//
//   InfTee1 -> "Recording Queue" -> ["Codec" (fed what it needs)] -> "Grabber Counter"
//           -> "AVI Mux" (avimux) -> "File Writer" (filesink)
//
// Without a codec the file holds the frames as uncompressed RGB24 (avimux stores them as
// bottom-up DIB rows, which is what players expect). A codec is fed through a converter,
// or, when its CompressorInput asks for it, through "Codec Converter" -> "Codec Scaler" ->
// "Codec Input": the pixel format it needs, and frames scaled down to the nearest multiple
// of its alignment (721x481 becomes 720x480 for an encoder of even sizes). The counter sees
// every buffer on its way to the multiplexer, so the counted bytes are what the file
// receives.
//
// The multiplexer finishes the file (frame count, index) when end of stream reaches it.
// Finish ends the branch where it leaves the tee after a given number of frames, so the
// file holds exactly those, whatever the source still has in hand (a file's demuxer does
// not stop for an end of stream sent to the pipeline). The queue counts the frames that
// enter, on the streaming thread.
//
// Thread: user-interface thread; Build with the pipeline in NULL or READY, Finish while it
// plays.
#pragma once

#include "platform/hresult.h"
#include "video/compressor_list.h"
#include "video/grabber_element.h"

#include <gst/gst.h>

#include <cstdint>
#include <string>

namespace lumora {

class RecordingBranch {
public:
    static constexpr char kMuxName[] = "AVI Mux";
    static constexpr char kWriterName[] = "File Writer";

    // Builds the branch into `pipeline` from `tee`, writing `fileName` (an existing regular
    // file of that name is deleted first; a device or FIFO is written as it is). `codec` (a
    // floating reference or null) is taken over and added as "Codec", fed as `input` says.
    // Fails (E_FAIL, the reason recorded as the media error text) when the multiplexer or
    // the file writer cannot be set up or the codec cannot be added and connected; a
    // counter that does not connect is not a failure.
    static HRESULT Build(GstBin* pipeline, GstElement* tee, const std::string& fileName, GstElement* codec,
                         const CompressorInput& input, GrabberBufferCallback counter);

    // Whether `pipeline` holds a recording branch, and whether it still takes frames.
    static bool Present(GstBin* pipeline);
    static bool Recording(GstBin* pipeline);

    // Ends the recording after `frames` frames in all (those that passed the grabber since
    // the branch was built): waits for them to enter, detaches the branch from the tee and
    // sends end of stream through it, then waits for the file writer to take it, all within
    // `timeout`. False when the branch was not recording or the end did not arrive in time.
    // The branch stays in the pipeline (it closes the file when the pipeline stops).
    static bool Finish(GstBin* pipeline, std::uint64_t frames, GstClockTime timeout);
};

}  // namespace lumora
