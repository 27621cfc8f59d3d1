// Reading one numeric setting of an effect with the SDK's registry helpers, keeping the
// current value when the stored one is missing, of another type or out of range.
// Any thread (the helpers are thread-safe); the host calls it on the user-interface thread.
#pragma once

#include <lumora/registry.h>

#include <atomic>
#include <cstdint>

namespace lumora::plugins {

// Stores value `name` of key `path` into `setting` when it is a REG_DWORD in
// [minimum, maximum].
void LoadBoundedSetting(HKEY root, const char* path, const char* name, std::uint32_t minimum,
                        std::uint32_t maximum, std::atomic<std::uint32_t>& setting) noexcept;

}  // namespace lumora::plugins
