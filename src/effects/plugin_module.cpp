#include "effects/plugin_module.h"

#include <dlfcn.h>

#include <algorithm>

namespace lumora {

std::unique_ptr<PluginModule> PluginModule::Open(const std::string& path, std::uint32_t number) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    auto getInfo = reinterpret_cast<GetPluginInfoFunction>(::dlsym(handle, kGetPluginInfoExport));
    auto getAnimation = reinterpret_cast<GetAnimationFunction>(::dlsym(handle, kGetAnimationExport));
    if (!getInfo || !getAnimation) {
        ::dlclose(handle);
        return nullptr;
    }
    std::unique_ptr<PluginModule> module(new PluginModule(handle, path, getAnimation));
    getInfo(&module->record_);
    module->record_.moduleHandle = number;
    return module;
}

PluginModule::PluginModule(void* handle, std::string path, GetAnimationFunction getAnimation) noexcept
    : handle_(handle), path_(std::move(path)), getAnimation_(getAnimation) {}

PluginModule::~PluginModule() { ::dlclose(handle_); }

std::int32_t PluginModule::EffectCount() const noexcept {
    return std::clamp(record_.animationCount, 0, kMaxEffects);
}

Effect* PluginModule::GetEffect(std::int32_t index) const { return getAnimation_(index); }

}  // namespace lumora
