#include "vcam/pipewire_stream_params.h"

#include <spa/buffer/buffer.h>
#include <spa/param/buffers.h>
#include <spa/param/format-utils.h>
#include <spa/param/video/format-utils.h>
#include <spa/pod/builder.h>

namespace lumora {
namespace {

constexpr int kMinBuffers = 2;
constexpr int kBuffers = 4;
constexpr int kMaxBuffers = 16;

}  // namespace

const spa_pod* BuildEnumFormat(spa_pod_builder* builder, int width, int height, int framesPerSecond,
                               const std::vector<PipeWireLayout>& layouts) {
    spa_pod_frame object;
    spa_pod_builder_push_object(builder, &object, SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat);
    spa_pod_builder_add(builder, SPA_FORMAT_mediaType, SPA_POD_Id(SPA_MEDIA_TYPE_video), SPA_FORMAT_mediaSubtype,
                        SPA_POD_Id(SPA_MEDIA_SUBTYPE_raw), 0);
    // An enumeration: its first value is the default, then every value allowed.
    spa_pod_frame choice;
    spa_pod_builder_prop(builder, SPA_FORMAT_VIDEO_format, 0);
    spa_pod_builder_push_choice(builder, &choice, SPA_CHOICE_Enum, 0);
    spa_pod_builder_id(builder, SpaVideoFormat(layouts.front()));
    for (PipeWireLayout layout : layouts) spa_pod_builder_id(builder, SpaVideoFormat(layout));
    spa_pod_builder_pop(builder, &choice);
    const spa_rectangle size{static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
    const spa_fraction rate{static_cast<std::uint32_t>(framesPerSecond), 1};
    spa_pod_builder_add(builder, SPA_FORMAT_VIDEO_size, SPA_POD_Rectangle(&size), SPA_FORMAT_VIDEO_framerate,
                        SPA_POD_Fraction(&rate), 0);
    return static_cast<const spa_pod*>(spa_pod_builder_pop(builder, &object));
}

const spa_pod* BuildBuffers(spa_pod_builder* builder, const PipeWireVideoFormat& format) {
    const auto size = static_cast<int>(format.FrameBytes());
    const auto stride = static_cast<int>(format.Stride());
    const int dataTypes = (1 << SPA_DATA_MemFd) | (1 << SPA_DATA_MemPtr);
    return static_cast<const spa_pod*>(spa_pod_builder_add_object(
        builder, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers, SPA_PARAM_BUFFERS_buffers,
        SPA_POD_CHOICE_RANGE_Int(kBuffers, kMinBuffers, kMaxBuffers), SPA_PARAM_BUFFERS_blocks, SPA_POD_Int(1),
        SPA_PARAM_BUFFERS_size, SPA_POD_Int(size), SPA_PARAM_BUFFERS_stride, SPA_POD_Int(stride),
        SPA_PARAM_BUFFERS_dataType, SPA_POD_CHOICE_FLAGS_Int(dataTypes)));
}

std::optional<PipeWireVideoFormat> ParseAgreedFormat(const spa_pod* param) {
    if (param == nullptr) return std::nullopt;
    std::uint32_t mediaType = 0, mediaSubtype = 0;
    if (spa_format_parse(param, &mediaType, &mediaSubtype) < 0 || mediaType != SPA_MEDIA_TYPE_video ||
        mediaSubtype != SPA_MEDIA_SUBTYPE_raw) {
        return std::nullopt;
    }
    spa_video_info_raw info{};
    if (spa_format_video_raw_parse(param, &info) < 0) return std::nullopt;
    const std::optional<PipeWireLayout> layout = LayoutFromSpaVideoFormat(info.format);
    if (!layout || info.size.width == 0 || info.size.height == 0) return std::nullopt;
    return PipeWireVideoFormat{static_cast<int>(info.size.width), static_cast<int>(info.size.height), *layout};
}

}  // namespace lumora
