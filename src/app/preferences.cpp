#include "app/preferences.h"

#include "video/capture_device_list.h"

#include <lumora/registry.h>

#include <array>
#include <vector>

namespace lumora {
namespace {

constexpr std::size_t kFrameTimeBytes = 8;
constexpr std::size_t kGuidBytes = 16;

// Deleted in this order, which is also the order they are written in.
constexpr std::array<const char*, 7> kDeviceFormatValues{
    reg::kLastDevWidth,       reg::kLastDevHeight,    reg::kLastDevBitCount,
    reg::kLastDevPlanes,      reg::kLastDevCompression, reg::kLastDevFrameTime,
    reg::kLastDevMediaSubType};

std::uint32_t ReadDword(const char* name) {
    return ReadRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, name, 0);
}

bool WriteDword(const char* name, std::uint32_t value) {
    return WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, name, value);
}

bool IsRememberLastSource() { return ReadDword(reg::kRememberLastSource) != 0; }

bool WriteLastSource(int code, const std::string& id) {
    WriteDword(reg::kLastSourceType, static_cast<std::uint32_t>(code));
    return WriteRegString(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastSourceId, id.c_str());
}

void PutLittleEndian(std::uint8_t* out, std::uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t GetLittleEndian(const std::uint8_t* in, std::size_t bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) value |= std::uint64_t{in[i]} << (8 * i);
    return value;
}

// The GUID as it lies in memory: Data1, Data2, Data3 little-endian, then Data4.
std::array<std::uint8_t, kGuidBytes> GuidBytes(const Guid& guid) {
    std::array<std::uint8_t, kGuidBytes> bytes{};
    PutLittleEndian(bytes.data(), guid.data1, 4);
    PutLittleEndian(bytes.data() + 4, guid.data2, 2);
    PutLittleEndian(bytes.data() + 6, guid.data3, 2);
    for (std::size_t i = 0; i < guid.data4.size(); ++i) bytes[8 + i] = guid.data4[i];
    return bytes;
}

Guid GuidFromBytes(const std::uint8_t* bytes) {
    Guid guid;
    guid.data1 = static_cast<std::uint32_t>(GetLittleEndian(bytes, 4));
    guid.data2 = static_cast<std::uint16_t>(GetLittleEndian(bytes + 4, 2));
    guid.data3 = static_cast<std::uint16_t>(GetLittleEndian(bytes + 6, 2));
    for (std::size_t i = 0; i < guid.data4.size(); ++i) guid.data4[i] = bytes[8 + i];
    return guid;
}

// The first `size` bytes of a value of any type that holds at least that many.
std::optional<std::vector<std::uint8_t>> ReadAtLeast(const char* name, std::size_t size) {
    auto bytes = ReadRegBinary(HKEY_LOCAL_MACHINE, kLumoraKey, name);
    if (!bytes || bytes->size() < size) return std::nullopt;
    bytes->resize(size);
    return bytes;
}

bool WriteDeviceFormat(const ZImageBitmapInfoHeader& header, std::int64_t frameTime,
                       const Guid& subtype) {
    WriteDword(reg::kLastDevWidth, static_cast<std::uint32_t>(header.biWidth));
    WriteDword(reg::kLastDevHeight, static_cast<std::uint32_t>(header.biHeight));
    WriteDword(reg::kLastDevBitCount, header.biBitCount);
    WriteDword(reg::kLastDevPlanes, header.biPlanes);
    WriteDword(reg::kLastDevCompression, header.biCompression);
    std::array<std::uint8_t, kFrameTimeBytes> time{};
    PutLittleEndian(time.data(), static_cast<std::uint64_t>(frameTime), kFrameTimeBytes);
    WriteRegBinary(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastDevFrameTime, time.data(),
                   time.size());
    const auto guid = GuidBytes(subtype);
    return WriteRegBinary(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastDevMediaSubType,
                          guid.data(), guid.size());
}

bool DeleteDeviceFormat() {
    bool result = true;
    for (const char* name : kDeviceFormatValues) {
        result = DeleteRegValue(HKEY_LOCAL_MACHINE, kLumoraKey, name);
    }
    return result;
}

ZImageBitmapInfoHeader HeaderFromValues() {
    ZImageBitmapInfoHeader header{};
    header.biSize = sizeof(ZImageBitmapInfoHeader);
    header.biWidth = static_cast<std::int32_t>(ReadDword(reg::kLastDevWidth));
    header.biHeight = static_cast<std::int32_t>(ReadDword(reg::kLastDevHeight));
    header.biBitCount = static_cast<std::uint16_t>(ReadDword(reg::kLastDevBitCount));
    header.biCompression = ReadDword(reg::kLastDevCompression);
    header.biPlanes = static_cast<std::uint16_t>(ReadDword(reg::kLastDevPlanes));
    header.biSizeImage = ZImage_CalcImageSize(header.biWidth, header.biHeight, header.biBitCount);
    return header;
}

}  // namespace

bool IsRememberFilterSettings() { return ReadDword(reg::kRememberFilterSettings) != 0; }

int GetLastSourceType() {
    if (!IsRememberLastSource()) return kSourceNone;
    const std::uint32_t type = ReadDword(reg::kLastSourceType);
    if (type >= kSourceVideoFile && type <= kSourceCaptureDevice) return static_cast<int>(type);
    return kSourceNone;
}

std::optional<std::string> GetLastSourceId() {
    return ReadRegString(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastSourceId);
}

bool SaveLastSource(int sourceCode, const CaptureDeviceList& devices,
                    const std::string& identifier) {
    if (!IsRememberLastSource()) return WriteLastSource(kSourceNone, "");
    if (sourceCode == kSourceDesktop) return WriteLastSource(sourceCode, "");
    if (sourceCode == kSourceVideoFile || sourceCode == kSourceImageFile) {
        return WriteLastSource(sourceCode, identifier);
    }
    if (sourceCode >= kSourceCaptureDevice) {
        if (const CaptureDeviceInfo* device = devices.DeviceAt(sourceCode - kSourceCaptureDevice)) {
            return WriteLastSource(kSourceCaptureDevice, device->devicePath.value_or(""));
        }
    }
    return WriteLastSource(kSourceNone, "");
}

bool SaveLastDeviceFormat(const ZImageBitmapInfoHeader* header, std::int64_t frameTime,
                          const Guid& subtype) {
    if (IsRememberLastSource() && header && frameTime > 0) {
        return WriteDeviceFormat(*header, frameTime, subtype);
    }
    return DeleteDeviceFormat();
}

bool LoadLastDeviceFormat(ZImageBitmapInfoHeader& header, std::int64_t& frameTime,
                          Guid& subtype) {
    const ZImageBitmapInfoHeader read = HeaderFromValues();
    const auto time = ReadAtLeast(reg::kLastDevFrameTime, kFrameTimeBytes);
    const std::int64_t readTime =
        time ? static_cast<std::int64_t>(GetLittleEndian(time->data(), kFrameTimeBytes)) : 0;
    const auto guid = ReadAtLeast(reg::kLastDevMediaSubType, kGuidBytes);
    if (read.biWidth == 0 || read.biHeight == 0 || read.biBitCount == 0 || readTime <= 0 ||
        !guid) {
        return false;
    }
    header = read;
    frameTime = readTime;
    subtype = GuidFromBytes(guid->data());
    return true;
}

}  // namespace lumora
