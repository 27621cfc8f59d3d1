#include "video/extra_device_list.h"

#include <cstdlib>

namespace lumora {
namespace {

std::optional<std::string> NonEmpty(std::string_view text) {
    if (text.empty()) return std::nullopt;
    return std::string(text);
}

CaptureDeviceInfo ParseEntry(std::string_view entry) {
    const auto equals = entry.find('=');
    if (equals == std::string_view::npos) return {NonEmpty(entry), std::nullopt};
    return {NonEmpty(entry.substr(0, equals)), NonEmpty(entry.substr(equals + 1))};
}

}  // namespace

std::vector<CaptureDeviceInfo> ParseExtraDevices(std::string_view text) {
    std::vector<CaptureDeviceInfo> devices;
    while (!text.empty()) {
        const auto end = text.find(';');
        const std::string_view entry = text.substr(0, end);
        if (!entry.empty()) devices.push_back(ParseEntry(entry));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return devices;
}

std::vector<CaptureDeviceInfo> ExtraDevicesFromEnvironment() {
    const char* text = std::getenv(kExtraDevicesVariable);
    return text ? ParseExtraDevices(text) : std::vector<CaptureDeviceInfo>{};
}

}  // namespace lumora
