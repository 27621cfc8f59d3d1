#include "video/capture_format_negotiator.h"

#include "video/capture_format_caps.h"

#include <optional>

namespace lumora {
namespace {

bool WantsApplying(const CaptureFormat& format) {
    return !format.applied && format.frameTime != 0 && format.header.biWidth >= 1 &&
           format.header.biHeight >= 1;
}

std::optional<Framerate> MatchingRate(const GValue* value, std::int64_t frameTime) {
    if (GST_VALUE_HOLDS_FRACTION(value)) {
        const Framerate rate{gst_value_get_fraction_numerator(value),
                             gst_value_get_fraction_denominator(value)};
        if (FrameTimeFromFramerate(rate) == frameTime) return rate;
    } else if (GST_VALUE_HOLDS_LIST(value)) {
        for (guint i = 0; i < gst_value_list_get_size(value); ++i) {
            if (auto rate = MatchingRate(gst_value_list_get_value(value, i), frameTime)) {
                return rate;
            }
        }
    }
    return std::nullopt;
}

// The first fixed rate the device offers with exactly this frame time (a device offering
// 30/1 is asked for 30/1, not for 10000000/333333), else the exact rate.
Framerate RateForDevice(const GstCaps* deviceCaps, std::int64_t frameTime) {
    for (guint i = 0; i < gst_caps_get_size(deviceCaps); ++i) {
        const GValue* value =
            gst_structure_get_value(gst_caps_get_structure(deviceCaps, i), "framerate");
        if (!value) continue;
        if (auto rate = MatchingRate(value, frameTime)) return *rate;
    }
    return FramerateFromFrameTime(frameTime);
}

GstPad* FirstSourcePad(GstElement* element) {
    GstIterator* pads = gst_element_iterate_src_pads(element);
    GValue item = G_VALUE_INIT;
    GstPad* pad = nullptr;
    if (gst_iterator_next(pads, &item) == GST_ITERATOR_OK) {
        pad = GST_PAD(g_value_dup_object(&item));
        g_value_unset(&item);
    }
    gst_iterator_free(pads);
    return pad;
}

}  // namespace

GstPad* CaptureFormatNegotiator::CapturePad() const {
    if (!device_) return nullptr;
    GstPad* pad = gst_element_get_static_pad(device_, "src");
    return pad ? pad : FirstSourcePad(device_);
}

HRESULT CaptureFormatNegotiator::ReadCaptureFormat(CaptureFormat& format) const {
    format.ClearKeepingApplied();
    GstPad* pad = CapturePad();
    if (!pad) return E_FAIL;
    GstCaps* current = gst_pad_get_current_caps(pad);
    gst_object_unref(pad);
    if (!current) return S_OK;
    const HRESULT result = CaptureFormatFromCaps(current, format);
    gst_caps_unref(current);
    return result == S_FALSE ? S_OK : result;
}

HRESULT CaptureFormatNegotiator::ApplyCaptureFormat(CaptureFormat& format,
                                                    GstCaps** request) const {
    if (!request) return E_POINTER;
    *request = nullptr;
    if (!WantsApplying(format)) return S_OK;
    format.applied = true;
    GstPad* pad = CapturePad();
    if (!pad) return E_FAIL;
    GstCaps* deviceCaps = gst_pad_query_caps(pad, nullptr);
    gst_object_unref(pad);
    GstCaps* wanted =
        CapsFromCaptureFormat(format, RateForDevice(deviceCaps, format.frameTime));
    const bool accepted = wanted && gst_caps_can_intersect(wanted, deviceCaps);
    gst_caps_unref(deviceCaps);
    if (!accepted) {
        if (wanted) gst_caps_unref(wanted);
        return E_FAIL;
    }
    *request = wanted;
    return S_OK;
}

}  // namespace lumora
