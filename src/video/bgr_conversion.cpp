#include "video/bgr_conversion.h"

#include "video/grabber_frame_layout.h"

#include <libyuv.h>

namespace lumora {
namespace {

const libyuv::YuvConstants* MatrixOf(const GstVideoInfo& info) {
    const GstVideoColorimetry& colorimetry = GST_VIDEO_INFO_COLORIMETRY(&info);
    const bool full = colorimetry.range == GST_VIDEO_COLOR_RANGE_0_255;
    switch (colorimetry.matrix) {
        case GST_VIDEO_COLOR_MATRIX_BT709: return full ? &libyuv::kYuvF709Constants : &libyuv::kYuvH709Constants;
        case GST_VIDEO_COLOR_MATRIX_BT2020: return full ? &libyuv::kYuvV2020Constants : &libyuv::kYuv2020Constants;
        default: return full ? &libyuv::kYuvJPEGConstants : &libyuv::kYuvI601Constants;
    }
}

const uint8_t* Component(const GstVideoFrame& frame, int component) {
    return static_cast<const uint8_t*>(GST_VIDEO_FRAME_COMP_DATA(&frame, component));
}

int ComponentStride(const GstVideoFrame& frame, int component) {
    return GST_VIDEO_FRAME_COMP_STRIDE(&frame, component);
}

const uint8_t* Plane(const GstVideoFrame& frame, int plane) {
    return static_cast<const uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, plane));
}

int PlaneStride(const GstVideoFrame& frame, int plane) { return GST_VIDEO_FRAME_PLANE_STRIDE(&frame, plane); }

// Y, U and V of a planar frame, each plane where the frame keeps it (YV12 has V first).
int ConvertPlanar(const GstVideoFrame& frame, const libyuv::YuvConstants* matrix, uint8_t* target, int stride,
                  int width, int height) {
    const uint8_t* y = Component(frame, GST_VIDEO_COMP_Y);
    const uint8_t* u = Component(frame, GST_VIDEO_COMP_U);
    const uint8_t* v = Component(frame, GST_VIDEO_COMP_V);
    const int yStride = ComponentStride(frame, GST_VIDEO_COMP_Y);
    const int uStride = ComponentStride(frame, GST_VIDEO_COMP_U);
    const int vStride = ComponentStride(frame, GST_VIDEO_COMP_V);
    switch (GST_VIDEO_FRAME_FORMAT(&frame)) {
        case GST_VIDEO_FORMAT_I420:
        case GST_VIDEO_FORMAT_YV12:
            return libyuv::I420ToRGB24Matrix(y, yStride, u, uStride, v, vStride, target, stride, matrix, width, height);
        case GST_VIDEO_FORMAT_Y42B:
            return libyuv::I422ToRGB24Matrix(y, yStride, u, uStride, v, vStride, target, stride, matrix, width, height);
        default:
            return libyuv::I444ToRGB24Matrix(y, yStride, u, uStride, v, vStride, target, stride, matrix, width, height);
    }
}

int Convert(const GstVideoFrame& frame, uint8_t* target, int stride, int width, int height) {
    const libyuv::YuvConstants* matrix = MatrixOf(frame.info);
    switch (GST_VIDEO_FRAME_FORMAT(&frame)) {
        case GST_VIDEO_FORMAT_NV12:
            return libyuv::NV12ToRGB24Matrix(Plane(frame, 0), PlaneStride(frame, 0), Plane(frame, 1),
                                             PlaneStride(frame, 1), target, stride, matrix, width, height);
        case GST_VIDEO_FORMAT_NV21:
            return libyuv::NV21ToRGB24Matrix(Plane(frame, 0), PlaneStride(frame, 0), Plane(frame, 1),
                                             PlaneStride(frame, 1), target, stride, matrix, width, height);
        case GST_VIDEO_FORMAT_BGRx:
        case GST_VIDEO_FORMAT_BGRA:
            return libyuv::ARGBToRGB24(Plane(frame, 0), PlaneStride(frame, 0), target, stride, width, height);
        case GST_VIDEO_FORMAT_RGB:
            return libyuv::RAWToRGB24(Plane(frame, 0), PlaneStride(frame, 0), target, stride, width, height);
        default: return ConvertPlanar(frame, matrix, target, stride, width, height);
    }
}

}  // namespace

bool IsBgrConvertible(GstVideoFormat format) {
    switch (format) {
        case GST_VIDEO_FORMAT_I420:
        case GST_VIDEO_FORMAT_YV12:
        case GST_VIDEO_FORMAT_Y42B:
        case GST_VIDEO_FORMAT_Y444:
        case GST_VIDEO_FORMAT_NV12:
        case GST_VIDEO_FORMAT_NV21:
        case GST_VIDEO_FORMAT_BGRx:
        case GST_VIDEO_FORMAT_BGRA:
        case GST_VIDEO_FORMAT_RGB:
        case GST_VIDEO_FORMAT_BGR: return true;
        default: return false;
    }
}

bool ConvertToBgr(const GstVideoFrame& frame, unsigned char* target, std::size_t targetStride, bool bottomUp) {
    const GstVideoFormat format = GST_VIDEO_FRAME_FORMAT(&frame);
    if (!IsBgrConvertible(format)) return false;
    const int width = GST_VIDEO_FRAME_WIDTH(&frame);
    const int height = GST_VIDEO_FRAME_HEIGHT(&frame);
    if (format == GST_VIDEO_FORMAT_BGR) {
        const auto* source = Plane(frame, 0);
        const auto sourceStride = static_cast<std::size_t>(PlaneStride(frame, 0));
        const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
        if (bottomUp) {
            CopyRowsReversed(source, sourceStride, target, targetStride, rowBytes, height);
        } else {
            libyuv::CopyPlane(source, static_cast<int>(sourceStride), target, static_cast<int>(targetStride),
                              static_cast<int>(rowBytes), height);
        }
        return true;
    }
    // Bottom up: the last row first, walked backwards. (A negative height would have libyuv
    // turn the source instead, which pairs the chroma rows of an odd-height frame wrongly.)
    const int stride = static_cast<int>(targetStride);
    unsigned char* first = bottomUp ? target + targetStride * static_cast<std::size_t>(height - 1) : target;
    return Convert(frame, first, bottomUp ? -stride : stride, width, height) == 0;
}

}  // namespace lumora
