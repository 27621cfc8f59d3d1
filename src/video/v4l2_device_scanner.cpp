#include "video/v4l2_device_scanner.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <string_view>
#include <system_error>

namespace lumora {
namespace {

namespace fs = std::filesystem;

constexpr char kLoopbackDriver[] = "v4l2 loopback";
constexpr char kUdevProductKey[] = "E:ID_V4L_PRODUCT=";

// N of "videoN", or -1 for any other name.
int VideoNodeNumber(const std::string& name) {
    constexpr std::string_view prefix = "video";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
    int number = -1;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    const auto [end, error] = std::from_chars(first, last, number);
    return error == std::errc() && end == last ? number : -1;
}

std::uint32_t NodeCaps(const V4l2Capability& capability) {
    return (capability.capabilities & V4L2_CAP_DEVICE_CAPS) ? capability.deviceCaps
                                                            : capability.capabilities;
}

std::string FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// "a:b" without blanks around it, as the sysfs "dev" file holds it.
std::string Trimmed(std::string text) {
    const auto notBlank = [](unsigned char c) { return !std::isspace(c); };
    text.erase(std::find_if(text.rbegin(), text.rend(), notBlank).base(), text.end());
    text.erase(text.begin(), std::find_if(text.begin(), text.end(), notBlank));
    return text;
}

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    const bool same = fs::equivalent(a, b, error);
    return !error && same;
}

}  // namespace

V4l2DeviceScanner::V4l2DeviceScanner(fs::path root, const CaptureDeviceQuery& query)
    : root_(std::move(root)), query_(query) {}

bool V4l2DeviceScanner::IsVideoInput(const V4l2Capability& capability) {
    if (capability.driver == kLoopbackDriver) return true;
    return (NodeCaps(capability) & (V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_VIDEO_CAPTURE_MPLANE)) != 0;
}

std::vector<CaptureDeviceInfo> V4l2DeviceScanner::Scan() const {
    std::vector<CaptureDeviceInfo> devices;
    for (const Node& node : VideoNodes()) {
        const auto capability = query_.QueryCapability(node.path);
        if (!capability || !IsVideoInput(*capability)) continue;
        devices.push_back({FriendlyName(node, *capability), DevicePath(node)});
    }
    return devices;
}

std::vector<V4l2DeviceScanner::Node> V4l2DeviceScanner::VideoNodes() const {
    std::vector<Node> nodes;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(root_ / "dev", error)) {
        const int number = VideoNodeNumber(entry.path().filename().string());
        if (number >= 0) nodes.push_back({number, entry.path()});
    }
    std::sort(nodes.begin(), nodes.end(),
              [](const Node& a, const Node& b) { return a.number < b.number; });
    return nodes;
}

std::string V4l2DeviceScanner::FriendlyName(const Node& node,
                                            const V4l2Capability& capability) const {
    if (auto product = UdevProductName(node)) return *product;
    return capability.card;
}

std::optional<std::string> V4l2DeviceScanner::UdevProductName(const Node& node) const {
    const fs::path sysfsDev =
        root_ / "sys/class/video4linux" / node.path.filename() / "dev";
    const std::string majorMinor = Trimmed(FirstLine(sysfsDev));
    if (majorMinor.empty()) return std::nullopt;
    std::ifstream in(root_ / "run/udev/data" / ("c" + majorMinor));
    const std::string_view key = kUdevProductKey;
    for (std::string line; std::getline(in, line);) {
        if (line.compare(0, key.size(), key) == 0 && line.size() > key.size()) {
            return line.substr(key.size());
        }
    }
    return std::nullopt;
}

std::string V4l2DeviceScanner::DevicePath(const Node& node) const {
    std::vector<fs::path> links;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(root_ / "dev/v4l/by-id", error)) {
        if (entry.is_symlink(error) && SameFile(entry.path(), node.path)) {
            links.push_back(entry.path());
        }
    }
    if (links.empty()) return node.path.string();
    return std::min_element(links.begin(), links.end())->string();
}

}  // namespace lumora
