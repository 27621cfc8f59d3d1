#include "vcam/pipewire_link_counter.h"

#include <cstdlib>
#include <cstring>
#include <set>

namespace lumora {
namespace {

std::optional<std::uint32_t> IdProperty(const spa_dict* props, const char* key) {
    const char* text = props ? spa_dict_lookup(props, key) : nullptr;
    if (text == nullptr || *text == '\0') return std::nullopt;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*end != '\0') return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

}  // namespace

PipeWireLinkCounter::~PipeWireLinkCounter() { Detach(); }

bool PipeWireLinkCounter::Attach(pw_core* core, std::function<void()> changed) {
    Detach();
    registry_ = pw_core_get_registry(core, PW_VERSION_REGISTRY, 0);
    if (registry_ == nullptr) return false;
    changed_ = std::move(changed);
    static const pw_registry_events events = [] {
        pw_registry_events filled{};
        filled.version = PW_VERSION_REGISTRY_EVENTS;
        filled.global = &PipeWireLinkCounter::OnGlobal;
        filled.global_remove = &PipeWireLinkCounter::OnGlobalRemove;
        return filled;
    }();
    spa_zero(listener_);
    pw_registry_add_listener(registry_, &listener_, &events, this);
    return true;
}

void PipeWireLinkCounter::Detach() {
    if (registry_ == nullptr) return;
    spa_hook_remove(&listener_);
    pw_proxy_destroy(reinterpret_cast<pw_proxy*>(registry_));
    registry_ = nullptr;
    links_.clear();
    nodeNames_.clear();
}

int PipeWireLinkCounter::ConsumersOf(std::uint32_t nodeId) const {
    std::set<std::uint32_t> consumers;
    for (const auto& [id, link] : links_) {
        if (link.outputNode == nodeId) consumers.insert(link.inputNode);
    }
    return static_cast<int>(consumers.size());
}

std::optional<std::uint32_t> PipeWireLinkCounter::NodeIdByName(const std::string& nodeName) const {
    for (const auto& [id, name] : nodeNames_) {
        if (name == nodeName) return id;
    }
    return std::nullopt;
}

void PipeWireLinkCounter::OnGlobal(void* data, std::uint32_t id, std::uint32_t, const char* type, std::uint32_t,
                                   const spa_dict* props) {
    auto* self = static_cast<PipeWireLinkCounter*>(data);
    if (std::strcmp(type, PW_TYPE_INTERFACE_Link) == 0) {
        const auto output = IdProperty(props, PW_KEY_LINK_OUTPUT_NODE);
        const auto input = IdProperty(props, PW_KEY_LINK_INPUT_NODE);
        if (!output || !input) return;
        self->links_[id] = Link{*output, *input};
    } else if (std::strcmp(type, PW_TYPE_INTERFACE_Node) == 0) {
        const char* name = props ? spa_dict_lookup(props, PW_KEY_NODE_NAME) : nullptr;
        self->nodeNames_[id] = name ? name : "";
    } else {
        return;
    }
    if (self->changed_) self->changed_();
}

void PipeWireLinkCounter::OnGlobalRemove(void* data, std::uint32_t id) {
    auto* self = static_cast<PipeWireLinkCounter*>(data);
    if (self->links_.erase(id) + self->nodeNames_.erase(id) == 0) return;
    if (self->changed_) self->changed_();
}

}  // namespace lumora
