// PluginModule: one loaded plug-in module (a "*.so" exporting GetPluginInfo and
// GetAnimation, see <lumora/plugin.h>) and the record it filled in.
//
// Lifetime: the module stays loaded while the object lives; the destructor unloads it
// (dlclose). Effects the module handed out are the module's: they are never deleted
// here and must not be used after the object is gone.
// Threads: user-interface thread.
#pragma once

#include <lumora/plugin.h>

#include <cstdint>
#include <memory>
#include <string>

namespace lumora {

class PluginModule {
public:
    // Effects asked for from one module at most; a larger count is cut to this.
    static constexpr std::int32_t kMaxEffects = 1024;

    // Loads the module at `path` and, when it has both exports, calls GetPluginInfo and
    // writes `number` into the record. Null (and nothing left loaded) when the file is
    // not a loadable shared object or lacks an export.
    static std::unique_ptr<PluginModule> Open(const std::string& path, std::uint32_t number);

    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // The dlopen handle: what the module's effects get as their `module`.
    void* handle() const noexcept { return handle_; }
    const PluginRecord& record() const noexcept { return record_; }
    const std::string& path() const noexcept { return path_; }

    // The count the module reported, 0 when not positive, at most kMaxEffects.
    std::int32_t EffectCount() const noexcept;
    // GetAnimation(index); may be null.
    Effect* GetEffect(std::int32_t index) const;

private:
    PluginModule(void* handle, std::string path, GetAnimationFunction getAnimation) noexcept;

    void* handle_;
    std::string path_;
    GetAnimationFunction getAnimation_;
    PluginRecord record_{};
};

}  // namespace lumora
