// PluginHost: finds, loads and unloads the plug-in modules of a folder.
//
// LoadFolder takes every regular file named "*.so" directly in the folder (no
// sub-folders), in byte order of the file names, so the effects' numbers are the same
// from run to run. Files that cannot be loaded or lack either export are skipped
// silently. Each effect a module offers (index 0 up, null answers skipped) goes to the
// `add` callback with the module's handle; a module that offers none stays loaded like
// the others.
//
// Lifetime: modules stay loaded until UnloadAll or destruction, which unload them in
// reverse order of loading; the effects they handed out must not be used afterwards.
// Threads: user-interface thread.
#pragma once

#include "effects/plugin_module.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumora {

class PluginHost {
public:
    using AddEffect = std::function<void(Effect* effect, void* module)>;

    PluginHost() = default;
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // `folder` ends with "/" or not; a missing folder loads nothing.
    void LoadFolder(const std::string& folder, const AddEffect& add);
    void UnloadAll() noexcept;

    std::size_t ModuleCount() const noexcept { return modules_.size(); }
    const PluginModule& Module(std::size_t index) const { return *modules_.at(index); }

    // The "*.so" files of the folder in loading order (full paths).
    static std::vector<std::string> FindModules(const std::string& folder);

private:
    std::vector<std::unique_ptr<PluginModule>> modules_;
};

}  // namespace lumora
