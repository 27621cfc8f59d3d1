// The preferences and the remembered source, read and written straight through the
// registry helpers under HKEY_LOCAL_MACHINE\SOFTWARE\Lumora. Nothing is cached: every
// call sees what the previous one wrote. Every failure is silent (defaults on read,
// false on write).
//
// Thread: user-interface thread (the helpers themselves are safe anywhere).
#pragma once

#include "video/capture_format.h"

#include <lumora/zimage.h>

#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

class CaptureDeviceList;

inline constexpr char kLumoraKey[] = "SOFTWARE\\Lumora";

// Source command codes: the SourceId numbers of the Video source menu. Device n of the
// capture device list is kSourceCaptureDevice + n; only the code 1003 itself is stored.
inline constexpr int kSourceNone = 0;
inline constexpr int kSourceVideoFile = 1000;
inline constexpr int kSourceDesktop = 1001;
inline constexpr int kSourceImageFile = 1002;
inline constexpr int kSourceCaptureDevice = 1003;

namespace reg {
inline constexpr char kRememberLastSource[] = "RememberLastSource";
inline constexpr char kRememberFilterSettings[] = "RememberFilterSettings";
inline constexpr char kLastSourceType[] = "LastSourceType";
inline constexpr char kLastSourceId[] = "LastSourceID";
inline constexpr char kLastDevWidth[] = "LastDevWidth";
inline constexpr char kLastDevHeight[] = "LastDevHeight";
inline constexpr char kLastDevBitCount[] = "LastDevBitCount";
inline constexpr char kLastDevPlanes[] = "LastDevPlanes";
inline constexpr char kLastDevCompression[] = "LastDevCompression";
inline constexpr char kLastDevFrameTime[] = "LastDevFrameTime";
inline constexpr char kLastDevMediaSubType[] = "LastDevMediaSubType";
}  // namespace reg

// "RememberFilterSettings" is non-zero.
bool IsRememberFilterSettings();

// 0 when "RememberLastSource" is 0; else "LastSourceType" when it is 1000..1003, else 0.
int GetLastSourceType();

// The "LastSourceID" text, or nothing.
std::optional<std::string> GetLastSourceId();

// Stores the source that is current at exit: `sourceCode` is its SourceId, `identifier`
// the playlist entry's path (1000) or the image path (1002), "" otherwise. A capture
// device (1003 + n) is stored as 1003 with the device path of entry n. Stores 0 and ""
// when remembering is off or the code is unknown. Answers the result of the last write.
bool SaveLastSource(int sourceCode, const CaptureDeviceList& devices,
                    const std::string& identifier);

// Writes the seven "LastDev..." values when remembering is on, `header` is given and
// `frameTime` is above 0; otherwise deletes them. Answers the result of the last write
// or delete.
bool SaveLastDeviceFormat(const ZImageBitmapInfoHeader* header, std::int64_t frameTime,
                          const Guid& subtype);

// Reads the remembered device format. True, with the outputs filled, only when width,
// height and bit count are non-zero, the frame time (first 8 bytes of at least 8) is above
// 0 and a subtype (first 16 bytes of at least 16) was read; the outputs are untouched
// otherwise.
bool LoadLastDeviceFormat(ZImageBitmapInfoHeader& header, std::int64_t& frameTime,
                          Guid& subtype);

}  // namespace lumora
