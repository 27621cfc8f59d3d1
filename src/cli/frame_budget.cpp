#include "cli/frame_budget.h"

namespace lumora::cli {

FrameBudget::FrameBudget(std::optional<long> limit) {
    if (limit && *limit >= 0) limit_ = static_cast<std::uint64_t>(*limit);
}

void FrameBudget::Attach(GstElement* grabber) {
    GstPad* input = gst_element_get_static_pad(grabber, "sink");
    if (input == nullptr) return;
    gst_pad_add_probe(input, static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST),
                      OnData, this, nullptr);
    gst_object_unref(input);
}

bool FrameBudget::Spent() const { return closed_.load() || (limit_ && passed_.load() >= *limit_); }

// One streaming thread feeds a grabber, and one grabber runs at a time, so the count needs
// no more than an atomic.
bool FrameBudget::Admit(std::uint64_t frames) {
    if (closed_.load()) return false;
    const std::uint64_t passed = passed_.load();
    if (limit_ && passed + frames > *limit_) return false;
    passed_.store(passed + frames);
    return true;
}

GstPadProbeReturn FrameBudget::OnData(GstPad*, GstPadProbeInfo* info, gpointer self) {
    const std::uint64_t frames = (info->type & GST_PAD_PROBE_TYPE_BUFFER_LIST) != 0
                                     ? gst_buffer_list_length(GST_PAD_PROBE_INFO_BUFFER_LIST(info))
                                     : 1;
    return static_cast<FrameBudget*>(self)->Admit(frames) ? GST_PAD_PROBE_OK : GST_PAD_PROBE_DROP;
}

}  // namespace lumora::cli
