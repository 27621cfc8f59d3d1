#include "app/curl_library.h"

#include <dlfcn.h>

namespace lumora {
namespace {

// Every function resolved, or false.
template <class Function>
bool Resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

bool Open(CurlLibrary& curl) {
    void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!library) return false;
    CURLcode (*global_init)(long) = nullptr;
    const bool complete =
            Resolve(library, "curl_global_init", global_init) &&
            Resolve(library, "curl_multi_init", curl.multi_init) &&
            Resolve(library, "curl_multi_cleanup", curl.multi_cleanup) &&
            Resolve(library, "curl_multi_add_handle", curl.multi_add_handle) &&
            Resolve(library, "curl_multi_remove_handle", curl.multi_remove_handle) &&
            Resolve(library, "curl_multi_perform", curl.multi_perform) &&
            Resolve(library, "curl_multi_poll", curl.multi_poll) &&
            Resolve(library, "curl_multi_wakeup", curl.multi_wakeup) &&
            Resolve(library, "curl_multi_info_read", curl.multi_info_read) &&
            Resolve(library, "curl_easy_init", curl.easy_init) &&
            Resolve(library, "curl_easy_setopt", curl.easy_setopt) &&
            Resolve(library, "curl_easy_cleanup", curl.easy_cleanup);
    // Once per process, before any other call, as libcurl asks.
    return complete && global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
}

}  // namespace

const CurlLibrary* CurlLibrary::Get() {
    static CurlLibrary curl{};
    static const bool opened = Open(curl);
    return opened ? &curl : nullptr;
}

}  // namespace lumora
