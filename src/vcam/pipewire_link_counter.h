// PipeWireLinkCounter: watches a PipeWire daemon's registry for nodes and links, so that
// the number of consumers linked to one node (the distinct nodes its links feed) and a
// node's id by its node.name are known at any time.
//
// Ownership: binds the registry of the core given to Attach and holds the proxy until
// Detach (or destruction), which must come before the core is disconnected. Threads: the
// thread of the core's loop only (with a thread loop: inside it, or under its lock).
#pragma once

#include <pipewire/pipewire.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace lumora {

class PipeWireLinkCounter {
public:
    PipeWireLinkCounter() = default;
    ~PipeWireLinkCounter();
    PipeWireLinkCounter(const PipeWireLinkCounter&) = delete;
    PipeWireLinkCounter& operator=(const PipeWireLinkCounter&) = delete;

    // `changed` is called (on the loop thread) whenever a link or node comes or goes.
    bool Attach(pw_core* core, std::function<void()> changed = {});
    void Detach();

    int ConsumersOf(std::uint32_t nodeId) const;
    std::optional<std::uint32_t> NodeIdByName(const std::string& nodeName) const;
    // The bound registry, for binding the objects it lists; null when detached.
    pw_registry* registry() const { return registry_; }

private:
    struct Link {
        std::uint32_t outputNode = 0;
        std::uint32_t inputNode = 0;
    };

    static void OnGlobal(void* self, std::uint32_t id, std::uint32_t permissions, const char* type,
                         std::uint32_t version, const spa_dict* props);
    static void OnGlobalRemove(void* self, std::uint32_t id);

    pw_registry* registry_ = nullptr;
    spa_hook listener_{};
    std::function<void()> changed_;
    std::map<std::uint32_t, Link> links_;
    std::map<std::uint32_t, std::string> nodeNames_;
};

}  // namespace lumora
