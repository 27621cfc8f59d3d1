// The one place that opens web addresses in the user's browser (the shell's "open"), so
// tests can take the addresses instead of starting a browser.
//
// Thread: user-interface thread only. Lifetime: a process-wide instance.
#pragma once

#include <functional>
#include <string>

namespace lumora {

class UrlOpener {
public:
    // Takes an address instead of opening it; answers whether it "opened".
    using Hook = std::function<bool(const std::string& url)>;

    static UrlOpener& Instance();

    // Opens `url` with the desktop's handler for its scheme; false when none could be
    // started (or the text is not an address).
    bool Open(const std::string& url);

    // Installs a hook that takes every address instead; an empty hook restores the
    // desktop. Returns the hook it replaced.
    Hook SetHook(Hook hook);

private:
    UrlOpener() = default;

    Hook hook_;
};

}  // namespace lumora
