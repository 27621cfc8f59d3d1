#include "video/v4l2_controls.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lumora {
namespace {

int Ioctl(int fd, unsigned long request, void* argument) {
    int result;
    do {
        result = ioctl(fd, request, argument);
    } while (result == -1 && errno == EINTR);
    return result;
}

bool TypeOf(std::uint32_t v4l2Type, DeviceControl::Type* type) {
    switch (v4l2Type) {
        case V4L2_CTRL_TYPE_INTEGER: *type = DeviceControl::Type::kInteger; return true;
        case V4L2_CTRL_TYPE_BOOLEAN: *type = DeviceControl::Type::kBoolean; return true;
        case V4L2_CTRL_TYPE_MENU:
        case V4L2_CTRL_TYPE_INTEGER_MENU: *type = DeviceControl::Type::kMenu; return true;
        case V4L2_CTRL_TYPE_BUTTON: *type = DeviceControl::Type::kButton; return true;
        default: return false;
    }
}

std::string NameOf(const v4l2_queryctrl& query) {
    return std::string(reinterpret_cast<const char*>(query.name), strnlen(reinterpret_cast<const char*>(query.name), sizeof query.name));
}

}  // namespace

std::unique_ptr<V4l2Controls> V4l2Controls::Open(const std::string& devicePath) {
    const int fd = ::open(devicePath.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    std::unique_ptr<V4l2Controls> controls(new V4l2Controls(fd));
    controls->ReadControls();
    return controls;
}

V4l2Controls::V4l2Controls(int fd) : fd_(fd) {}

V4l2Controls::~V4l2Controls() { ::close(fd_); }

void V4l2Controls::ReadControls() {
    v4l2_queryctrl query{};
    query.id = V4L2_CTRL_FLAG_NEXT_CTRL;
    while (Ioctl(fd_, VIDIOC_QUERYCTRL, &query) == 0) {
        DeviceControl control;
        if (!(query.flags & (V4L2_CTRL_FLAG_DISABLED | V4L2_CTRL_FLAG_READ_ONLY)) && TypeOf(query.type, &control.type)) {
            control.id = query.id;
            control.name = NameOf(query);
            control.minimum = query.minimum;
            control.maximum = query.maximum;
            control.step = query.step > 0 ? query.step : 1;
            control.defaultValue = query.default_value;
            v4l2_control current{query.id, 0};
            if (control.type != DeviceControl::Type::kButton && Ioctl(fd_, VIDIOC_G_CTRL, &current) == 0) {
                control.value = current.value;
            }
            for (std::int32_t index = query.minimum; control.type == DeviceControl::Type::kMenu && index <= query.maximum;
                 ++index) {
                v4l2_querymenu item{};
                item.id = query.id;
                item.index = static_cast<std::uint32_t>(index);
                if (Ioctl(fd_, VIDIOC_QUERYMENU, &item) != 0) continue;
                control.menu.emplace_back(index, query.type == V4L2_CTRL_TYPE_MENU
                                                     ? std::string(reinterpret_cast<const char*>(item.name))
                                                     : std::to_string(item.value));
            }
            controls_.push_back(std::move(control));
        }
        query.id |= V4L2_CTRL_FLAG_NEXT_CTRL;
    }
}

bool V4l2Controls::Set(std::uint32_t id, std::int32_t value) {
    v4l2_control control{id, value};
    if (Ioctl(fd_, VIDIOC_S_CTRL, &control) != 0) return false;
    for (DeviceControl& known : controls_) {
        if (known.id == id) known.value = value;
    }
    return true;
}

}  // namespace lumora
