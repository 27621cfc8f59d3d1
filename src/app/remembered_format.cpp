#include "app/remembered_format.h"

#include "app/preferences.h"

namespace lumora {
namespace {

bool IsCaptureDevice(int sourceId, int deviceCount) {
    return sourceId >= kSourceCaptureDevice && sourceId - kSourceCaptureDevice < deviceCount;
}

}  // namespace

void RememberedFormat::PrepareRememberedFormat() {
    if (format_.applied) return;
    format_.ClearKeepingApplied();
    if (GetLastSourceType() == kSourceCaptureDevice && LoadStoredFormat()) return;
    format_.applied = true;
}

bool RememberedFormat::LoadStoredFormat() {
    return LoadLastDeviceFormat(format_.header, format_.frameTime, format_.subtype);
}

bool RememberedFormat::SaveCurrentFormat(int sourceId, int deviceCount,
                                         const FormatReader& readFormat) {
    const bool save = GetLastSourceType() != kSourceNone &&
                      IsCaptureDevice(sourceId, deviceCount) && readFormat &&
                      SUCCEEDED(readFormat(format_));
    if (!save) return SaveLastDeviceFormat(nullptr, 0, Guid{});
    return SaveLastDeviceFormat(&format_.header, format_.frameTime, format_.subtype);
}

}  // namespace lumora
