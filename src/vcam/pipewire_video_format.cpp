#include "vcam/pipewire_video_format.h"

#include <spa/param/video/raw.h>

#include <algorithm>

namespace lumora {
namespace {

constexpr PipeWireLayout kAllLayouts[] = {PipeWireLayout::kYuy2, PipeWireLayout::kI420, PipeWireLayout::kNv12,
                                          PipeWireLayout::kBgrx};

}  // namespace

std::size_t PipeWireVideoFormat::Stride() const {
    const auto columns = static_cast<std::size_t>(width);
    switch (layout) {
        case PipeWireLayout::kYuy2: return columns * 2;
        case PipeWireLayout::kBgrx: return columns * 4;
        case PipeWireLayout::kI420:
        case PipeWireLayout::kNv12: break;
    }
    return columns;
}

std::size_t PipeWireVideoFormat::FrameBytes() const {
    const std::size_t plane = Stride() * static_cast<std::size_t>(height);
    if (layout == PipeWireLayout::kI420 || layout == PipeWireLayout::kNv12) return plane + plane / 2;
    return plane;
}

std::string PipeWireVideoFormat::Describe() const {
    return std::to_string(width) + "x" + std::to_string(height) + " " + LayoutName(layout);
}

std::string LayoutName(PipeWireLayout layout) {
    switch (layout) {
        case PipeWireLayout::kI420: return "I420";
        case PipeWireLayout::kNv12: return "NV12";
        case PipeWireLayout::kBgrx: return "BGRx";
        case PipeWireLayout::kYuy2: break;
    }
    return "YUY2";
}

std::uint32_t SpaVideoFormat(PipeWireLayout layout) {
    switch (layout) {
        case PipeWireLayout::kI420: return SPA_VIDEO_FORMAT_I420;
        case PipeWireLayout::kNv12: return SPA_VIDEO_FORMAT_NV12;
        case PipeWireLayout::kBgrx: return SPA_VIDEO_FORMAT_BGRx;
        case PipeWireLayout::kYuy2: break;
    }
    return SPA_VIDEO_FORMAT_YUY2;
}

std::optional<PipeWireLayout> LayoutFromSpaVideoFormat(std::uint32_t spaFormat) {
    for (PipeWireLayout layout : kAllLayouts) {
        if (SpaVideoFormat(layout) == spaFormat) return layout;
    }
    return std::nullopt;
}

std::vector<PipeWireLayout> OfferedLayouts(PipeWireLayout preferred) {
    std::vector<PipeWireLayout> layouts{preferred};
    std::copy_if(std::begin(kAllLayouts), std::end(kAllLayouts), std::back_inserter(layouts),
                 [preferred](PipeWireLayout layout) { return layout != preferred; });
    return layouts;
}

}  // namespace lumora
