// The device format remembered from one run to the next, over the source graph's
// CaptureFormat record.
//
// PrepareRememberedFormat (start-up, after the last source was restored): unless the
// record has been applied already, clears it and, when the last source was a capture
// device and a complete format is stored, loads it and leaves the applied flag clear so
// that the first capture build applies it (CaptureFormatNegotiator::ApplyCaptureFormat).
// Otherwise it sets the applied flag: there is nothing to apply this run.
//
// SaveCurrentFormat (exit, after SaveLastSource): stores the device's format again when
// remembering is on, the current source is a listed capture device and its format could be
// read again; otherwise deletes the stored format.
//
// Thread: user-interface thread. The record is borrowed and must outlive this object.
#pragma once

#include "platform/hresult.h"
#include "video/capture_format.h"

#include <functional>

namespace lumora {

class RememberedFormat {
public:
    // Reads the current device's format into the record (SourceGraph::ReadCaptureFormat).
    using FormatReader = std::function<HRESULT(CaptureFormat&)>;

    explicit RememberedFormat(CaptureFormat& format) : format_(format) {}

    void PrepareRememberedFormat();

    // `sourceId` is the current SourceId, `deviceCount` the number of listed capture
    // devices; `readFormat` is only called for a capture device. Answers the result of
    // the registry writes or deletes.
    bool SaveCurrentFormat(int sourceId, int deviceCount, const FormatReader& readFormat);

private:
    bool LoadStoredFormat();

    CaptureFormat& format_;
};

}  // namespace lumora
