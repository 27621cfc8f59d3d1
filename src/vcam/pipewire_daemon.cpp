#include "vcam/pipewire_daemon.h"

#include <pipewire/pipewire.h>

#include <cerrno>
#include <cstring>
#include <mutex>

namespace lumora {

void InitPipeWireLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { pw_init(nullptr, nullptr); });
}

bool PipeWireDaemonReachable(std::string* error) {
    InitPipeWireLibrary();
    pw_loop* loop = pw_loop_new(nullptr);
    if (loop == nullptr) {
        if (error) *error = std::string("cannot make a PipeWire loop: ") + std::strerror(errno);
        return false;
    }
    pw_context* context = pw_context_new(loop, nullptr, 0);
    pw_core* core = context ? pw_context_connect(context, nullptr, 0) : nullptr;
    const int failure = errno;
    if (core != nullptr) pw_core_disconnect(core);
    if (context != nullptr) pw_context_destroy(context);
    pw_loop_destroy(loop);
    if (core == nullptr && error) *error = std::string("no PipeWire daemon: ") + std::strerror(failure);
    return core != nullptr;
}

}  // namespace lumora
