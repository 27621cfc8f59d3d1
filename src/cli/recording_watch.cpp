#include "cli/recording_watch.h"

#include "video/recording_branch.h"

#include <cerrno>
#include <cstring>

namespace lumora::cli {
namespace {

// GStreamer's debug part is "<source file>(<line>): <function> (): <element path>:\n<text>";
// the text of a failed write, open or close is the system's, sometimes after this prefix.
constexpr char kSystemErrorPrefix[] = "system error: ";

}  // namespace

void RecordingWatch::Watch(GstElement* pipeline) {
    GstBus* bus = gst_element_get_bus(pipeline);
    if (bus == nullptr) return;
    gst_bus_enable_sync_message_emission(bus);
    g_signal_connect(bus, "sync-message::error", G_CALLBACK(OnError), this);
    gst_object_unref(bus);
}

std::string RecordingWatch::Failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
}

std::string RecordingWatch::Reason(const GError* error, const char* debug) {
    if (error != nullptr && error->domain == GST_RESOURCE_ERROR && error->code == GST_RESOURCE_ERROR_NO_SPACE_LEFT) {
        return std::strerror(ENOSPC);  // GStreamer says "No space left on the resource."
    }
    if (debug != nullptr && *debug != '\0') {
        std::string text = debug;
        if (const std::size_t at = text.rfind('\n'); at != std::string::npos) text.erase(0, at + 1);
        if (text.rfind(kSystemErrorPrefix, 0) == 0) text.erase(0, sizeof kSystemErrorPrefix - 1);
        if (!text.empty()) return text;
    }
    return error != nullptr && error->message != nullptr ? error->message : "unknown error";
}

void RecordingWatch::OnError(GstBus*, GstMessage* message, gpointer self) {
    if (GST_MESSAGE_SRC(message) == nullptr ||
        std::strcmp(GST_MESSAGE_SRC_NAME(message), RecordingBranch::kWriterName) != 0) {
        return;
    }
    GError* error = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    auto* watch = static_cast<RecordingWatch*>(self);
    {
        std::lock_guard lock(watch->mutex_);
        if (watch->failure_.empty()) watch->failure_ = Reason(error, debug);
    }
    if (error != nullptr) g_error_free(error);
    g_free(debug);
}

}  // namespace lumora::cli
