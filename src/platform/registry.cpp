// The registry helpers of <lumora/registry.h>, on top of the per-user SettingsStore.
#include <lumora/registry.h>

#include "platform/ascii_text.h"
#include "platform/reg_value_data.h"
#include "platform/settings_store.h"

#include <algorithm>
#include <cstring>

namespace lumora {

namespace {

SettingsStore Store() { return SettingsStore(SettingsStore::DefaultFile()); }

bool IsUsable(HKEY root, const char* path) { return root == HKEY_LOCAL_MACHINE && path; }

// A null name is the key's default value, like "".
std::string_view NameOf(const char* name) { return name ? std::string_view(name) : ""; }

std::optional<RegValue> FindValue(HKEY root, const char* path, const char* name) {
    if (!IsUsable(root, path)) return std::nullopt;
    return Store().ReadValue(path, NameOf(name));
}

bool Write(HKEY root, const char* path, const char* name, std::uint32_t type,
           std::vector<std::uint8_t> data) {
    if (!IsUsable(root, path)) return false;
    return Store().WriteValue(path, RegValue{std::string(NameOf(name)), type, std::move(data)});
}

bool IsTextType(std::uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

}  // namespace

std::optional<RegKey> OpenRegKey(HKEY root, const char* path) noexcept {
    try {
        if (!IsUsable(root, path)) return std::nullopt;
        std::optional<RegKeyEntry> key = Store().ReadKey(path);
        if (!key) return std::nullopt;
        return RegKey(std::move(key->path), std::move(key->values));
    } catch (...) {
        return std::nullopt;
    }
}

long QueryRegValue(const RegKey& key, const char* name, std::vector<std::uint8_t>* buffer,
                   std::uint32_t* type) noexcept {
    try {
        const std::string_view wanted = NameOf(name);
        const auto& values = key.values();
        const auto found = std::find_if(values.begin(), values.end(), [wanted](const RegValue& v) {
            return EqualsIgnoringAsciiCase(v.name, wanted);
        });
        if (found == values.end()) return -1;
        if (buffer) *buffer = found->data;
        if (type) *type = found->type;
        return static_cast<long>(found->data.size());
    } catch (...) {
        return -1;
    }
}

std::uint32_t ReadRegDword(HKEY root, const char* path, const char* name,
                           std::uint32_t defaultValue) noexcept {
    try {
        const std::optional<RegValue> value = FindValue(root, path, name);
        if (!value || value->type != REG_DWORD) return defaultValue;
        return ValueDataToDword(value->data).value_or(defaultValue);
    } catch (...) {
        return defaultValue;
    }
}

std::optional<std::string> ReadRegString(HKEY root, const char* path, const char* name) noexcept {
    try {
        const std::optional<RegValue> value = FindValue(root, path, name);
        if (!value || !IsTextType(value->type)) return std::nullopt;
        return ValueDataToText(value->data);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::uint8_t>> ReadRegBinary(HKEY root, const char* path,
                                                       const char* name) noexcept {
    try {
        std::optional<RegValue> value = FindValue(root, path, name);
        if (!value) return std::nullopt;
        return std::move(value->data);
    } catch (...) {
        return std::nullopt;
    }
}

bool WriteRegString(HKEY root, const char* path, const char* name, const char* text) noexcept {
    try {
        return text && Write(root, path, name, REG_SZ, TextToValueData(text));
    } catch (...) {
        return false;
    }
}

bool WriteRegExpandString(HKEY root, const char* path, const char* name,
                          const char* text) noexcept {
    try {
        return text && Write(root, path, name, REG_EXPAND_SZ, TextToValueData(text));
    } catch (...) {
        return false;
    }
}

bool WriteRegDword(HKEY root, const char* path, const char* name, std::uint32_t value) noexcept {
    try {
        return Write(root, path, name, REG_DWORD, DwordToValueData(value));
    } catch (...) {
        return false;
    }
}

bool WriteRegBinary(HKEY root, const char* path, const char* name, const void* bytes,
                    std::size_t size) noexcept {
    try {
        if (!bytes && size > 0) return false;
        const auto* first = static_cast<const std::uint8_t*>(bytes);
        std::vector<std::uint8_t> data(size);
        if (size > 0) std::memcpy(data.data(), first, size);
        return Write(root, path, name, REG_BINARY, std::move(data));
    } catch (...) {
        return false;
    }
}

bool DeleteRegValue(HKEY root, const char* path, const char* name) noexcept {
    try {
        return IsUsable(root, path) && Store().DeleteValue(path, NameOf(name));
    } catch (...) {
        return false;
    }
}

bool DeleteRegKey(HKEY root, const char* path) noexcept {
    try {
        return IsUsable(root, path) && Store().DeleteKey(path);
    } catch (...) {
        return false;
    }
}

}  // namespace lumora
