#include "common/registry_setting.h"

namespace lumora::plugins {

void LoadBoundedSetting(HKEY root, const char* path, const char* name, std::uint32_t minimum,
                        std::uint32_t maximum, std::atomic<std::uint32_t>& setting) noexcept {
    // A missing value reads as the current one, which is in range already.
    const std::uint32_t value = ReadRegDword(root, path, name, setting.load());
    if (value >= minimum && value <= maximum) setting.store(value);
}

}  // namespace lumora::plugins
