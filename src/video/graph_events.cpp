#include "video/graph_events.h"

#include "platform/app_events.h"

#include <QCoreApplication>

#include <gst/pbutils/pbutils.h>

#include <algorithm>

namespace lumora {
namespace {

constexpr auto kKeptMessages = static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR | GST_MESSAGE_ASYNC_DONE |
                                                           GST_MESSAGE_APPLICATION);

std::string ErrorText(GstMessage* message) {
    GError* error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    std::string text = error && error->message ? error->message : "";
    if (error) g_error_free(error);
    return text;
}

}  // namespace

GraphEvents::GraphEvents(GstElement* pipeline) : bus_(gst_element_get_bus(pipeline)) {
    gst_pb_utils_init();  // the missing plug-ins' descriptions; later calls only answer
    gst_bus_set_sync_handler(bus_, OnMessage, this, nullptr);
}

GraphEvents::~GraphEvents() {
    gst_bus_set_sync_handler(bus_, nullptr, nullptr, nullptr);
    gst_bus_set_flushing(bus_, TRUE);
    gst_object_unref(bus_);
}

GstBusSyncReply GraphEvents::OnMessage(GstBus*, GstMessage* message, gpointer data) {
    auto* self = static_cast<GraphEvents*>(data);
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if (gst_is_missing_plugin_message(message)) self->NoteMissingPlugin(message);
    if ((type & kKeptMessages) == 0) {
        gst_message_unref(message);  // a handler that drops a message owns it
        return GST_BUS_DROP;
    }
    if (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR) {
        if (QObject* target = self->target_.load()) {
            QCoreApplication::postEvent(target, new QEvent(EventType(MSG_GRAPH_EVENT)));
        }
    }
    return GST_BUS_PASS;
}

GraphEvents::Outcome GraphEvents::WaitFor(GstMessageType types, GstClockTime timeout) {
    Outcome outcome;
    GstMessage* message = gst_bus_timed_pop_filtered(bus_, timeout, types);
    if (message == nullptr) return outcome;
    outcome.type = GST_MESSAGE_TYPE(message);
    if (outcome.type == GST_MESSAGE_ERROR) outcome.errorText = ErrorText(message);
    if (outcome.type == GST_MESSAGE_APPLICATION) {
        if (const GstStructure* structure = gst_message_get_structure(message)) {
            outcome.name = gst_structure_get_name(structure);
        }
    }
    gst_message_unref(message);
    return outcome;
}

bool GraphEvents::PollCompletion() {
    while (GstMessage* message = gst_bus_pop(bus_)) {
        const GstMessageType type = GST_MESSAGE_TYPE(message);
        if (type == GST_MESSAGE_ERROR) streamError_ = ErrorText(message);
        gst_message_unref(message);
        if (type == GST_MESSAGE_EOS) return true;
    }
    return false;
}

void GraphEvents::NoteMissingPlugin(GstMessage* message) {
    gchar* description = gst_missing_plugin_message_get_description(message);
    if (description == nullptr) return;
    const std::string text = description;
    g_free(description);
    std::lock_guard lock(missingMutex_);
    if (std::find(missing_.begin(), missing_.end(), text) == missing_.end()) missing_.push_back(text);
}

std::vector<std::string> GraphEvents::MissingPlugins() const {
    std::lock_guard lock(missingMutex_);
    return missing_;
}

void GraphEvents::PostApplicationMessage(GstElement* source, const char* name) {
    gst_element_post_message(source, gst_message_new_application(GST_OBJECT(source), gst_structure_new_empty(name)));
}

}  // namespace lumora
