#include "vcam/pipewire_camera_survey.h"

#include "vcam/pipewire_camera_stream.h"
#include "vcam/pipewire_daemon.h"
#include "vcam/pipewire_link_counter.h"

#include <pipewire/pipewire.h>

#include <cerrno>
#include <cstring>

namespace lumora {
namespace {

// The survey's loop state: two round trips (the registry, then the bound node's info).
struct Survey {
    pw_main_loop* loop = nullptr;
    pw_core* core = nullptr;
    PipeWireLinkCounter links;
    pw_proxy* node = nullptr;
    spa_hook coreListener{}, nodeListener{};
    int pendingSeq = -1;
    bool nodeAsked = false;
    PipeWireCameraReport report;
};

std::string Property(const spa_dict* props, const char* key) {
    const char* value = props ? spa_dict_lookup(props, key) : nullptr;
    return value ? value : "";
}

void OnNodeInfo(void* data, const pw_node_info* info) {
    auto* survey = static_cast<Survey*>(data);
    survey->report.size = Property(info->props, PW_KEY_VIDEO_SIZE);
    survey->report.format = Property(info->props, PW_KEY_VIDEO_FORMAT);
    survey->report.rate = Property(info->props, PW_KEY_VIDEO_RATE);
}

void AskForNode(Survey& survey, std::uint32_t id) {
    static const pw_node_events events = [] {
        pw_node_events filled{};
        filled.version = PW_VERSION_NODE_EVENTS;
        filled.info = &OnNodeInfo;
        return filled;
    }();
    survey.node = static_cast<pw_proxy*>(pw_registry_bind(survey.links.registry(), id, PW_TYPE_INTERFACE_Node,
                                                          PW_VERSION_NODE, 0));
    if (survey.node == nullptr) return;
    pw_proxy_add_object_listener(survey.node, &survey.nodeListener, &events, &survey);
    survey.nodeAsked = true;
    survey.pendingSeq = pw_core_sync(survey.core, PW_ID_CORE, survey.pendingSeq);
}

// After the first round trip the registry is complete; after the second the node's info.
void OnDone(void* data, std::uint32_t id, int seq) {
    auto* survey = static_cast<Survey*>(data);
    if (id != PW_ID_CORE || seq != survey->pendingSeq) return;
    if (!survey->nodeAsked) {
        const auto node = survey->links.NodeIdByName(kPipeWireNodeName);
        if (node) {
            survey->report.published = true;
            survey->report.nodeId = *node;
            survey->report.consumers = survey->links.ConsumersOf(*node);
            AskForNode(*survey, *node);
            if (survey->nodeAsked) return;
        }
    }
    pw_main_loop_quit(survey->loop);
}

void OnTimeout(void* data, std::uint64_t) { pw_main_loop_quit(static_cast<Survey*>(data)->loop); }

void RunSurvey(Survey& survey, pw_context* context, std::chrono::milliseconds timeout) {
    survey.core = pw_context_connect(context, nullptr, 0);
    if (survey.core == nullptr) {
        survey.report.daemonError = std::strerror(errno);
        return;
    }
    survey.report.daemonReachable = true;
    static const pw_core_events events = [] {
        pw_core_events filled{};
        filled.version = PW_VERSION_CORE_EVENTS;
        filled.done = &OnDone;
        return filled;
    }();
    pw_core_add_listener(survey.core, &survey.coreListener, &events, &survey);
    survey.links.Attach(survey.core);
    survey.pendingSeq = pw_core_sync(survey.core, PW_ID_CORE, 0);
    pw_loop* loop = pw_main_loop_get_loop(survey.loop);
    spa_source* timer = pw_loop_add_timer(loop, &OnTimeout, &survey);
    const auto ms = timeout.count();
    timespec value{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000};
    timespec interval{0, 0};
    pw_loop_update_timer(loop, timer, &value, &interval, false);
    pw_main_loop_run(survey.loop);
    pw_loop_destroy_source(loop, timer);
    if (survey.node != nullptr) {
        spa_hook_remove(&survey.nodeListener);
        pw_proxy_destroy(survey.node);
    }
    survey.links.Detach();
    spa_hook_remove(&survey.coreListener);
    pw_core_disconnect(survey.core);
}

}  // namespace

PipeWireCameraReport SurveyPipeWireCamera(std::chrono::milliseconds timeout) {
    InitPipeWireLibrary();
    Survey survey;
    survey.loop = pw_main_loop_new(nullptr);
    if (survey.loop == nullptr) {
        survey.report.daemonError = std::strerror(errno);
        return survey.report;
    }
    if (pw_context* context = pw_context_new(pw_main_loop_get_loop(survey.loop), nullptr, 0)) {
        RunSurvey(survey, context, timeout);
        pw_context_destroy(context);
    }
    pw_main_loop_destroy(survey.loop);
    return survey.report;
}

}  // namespace lumora
