// Y4mWriter: writes frames as a YUV4MPEG2 stream ("y4m") other tools read (ffmpeg, mpv,
// GStreamer's y4mdec): 4:2:0 with centred chroma (C420jpeg), BT.601 limited range,
// progressive, square pixels. Every frame of a stream has one size; frames of another
// size are scaled into it with black bars, the right way up (FrameConverter).
//
// The stream goes to a FileOutput the caller owns and keeps alive; a failed write is the
// output's failure (FileOutput::Failure says why). One thread.
#pragma once

#include "vcam/file_output.h"
#include "vcam/frame_converter.h"

#include <cstdint>

namespace lumora {

class Y4mWriter {
public:
    // The stream size is made even (I420 needs it), rounding up.
    Y4mWriter(FileOutput& out, int width, int height, int framesPerSecond);

    int width() const { return converter_.format().width; }
    int height() const { return converter_.format().height; }

    // `pixels`: a width x height VideoFrame. The header goes out before the first frame.
    // False when the frame cannot be converted or written.
    bool WriteFrame(const std::uint8_t* pixels, int width, int height);

private:
    FileOutput& out_;
    FrameConverter converter_;
    int framesPerSecond_;
    bool headerWritten_ = false;
};

}  // namespace lumora
