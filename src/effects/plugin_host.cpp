#include "effects/plugin_host.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace lumora {

namespace {

bool IsModuleName(const std::string& name) {
    constexpr std::string_view kSuffix = ".so";
    return name.size() > kSuffix.size() && name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
}

}  // namespace

PluginHost::~PluginHost() { UnloadAll(); }

std::vector<std::string> PluginHost::FindModules(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        std::error_code typeError;
        if (IsModuleName(name) && it->is_regular_file(typeError)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    for (std::string& name : names) name = (fs::path(folder) / name).string();
    return names;
}

void PluginHost::LoadFolder(const std::string& folder, const AddEffect& add) {
    for (const std::string& path : FindModules(folder)) {
        const auto number = static_cast<std::uint32_t>(modules_.size() + 1);
        std::unique_ptr<PluginModule> module = PluginModule::Open(path, number);
        if (!module) continue;
        modules_.push_back(std::move(module));
        const PluginModule& loaded = *modules_.back();
        for (std::int32_t i = 0; i < loaded.EffectCount(); ++i) {
            if (Effect* effect = loaded.GetEffect(i)) add(effect, loaded.handle());
        }
    }
}

void PluginHost::UnloadAll() noexcept {
    while (!modules_.empty()) modules_.pop_back();
}

}  // namespace lumora
