// Test cameras named in LUMORA_TEST_DEVICES by hand. Whatever the text: no name or path is
// empty, holds the entry separator ';' or (a name) the '=' that ends it, and writing the
// devices out again as "Name=Path;..." gives the same devices back.
// Covers: extra_device_list.cpp

#include "fuzz_check.h"
#include "video/extra_device_list.h"

using lumora::CaptureDeviceInfo;

namespace {

std::string Written(const std::vector<CaptureDeviceInfo>& devices) {
    std::string text;
    for (const CaptureDeviceInfo& device : devices) {
        if (!text.empty()) text += ';';
        text += device.friendlyName.value_or("");
        if (device.devicePath || !device.friendlyName) text += '=' + device.devicePath.value_or("");
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), data ? size : 0);
    const std::vector<CaptureDeviceInfo> devices = lumora::ParseExtraDevices(text);
    FUZZ_CHECK(devices.size() <= text.size(), "every device comes from text");
    for (const CaptureDeviceInfo& device : devices) {
        if (const auto& name = device.friendlyName) {
            FUZZ_CHECK(!name->empty() && name->find_first_of(";=") == std::string::npos,
                       "a name is not empty and holds neither ';' nor '='");
        }
        if (const auto& path = device.devicePath) {
            FUZZ_CHECK(!path->empty() && path->find(';') == std::string::npos, "a path is not empty and holds no ';'");
        }
    }
    FUZZ_CHECK(lumora::ParseExtraDevices(Written(devices)) == devices, "devices written out read back the same");
    return 0;
}
