#include "platform/reg_document.h"

#include "platform/ascii_text.h"

#include <algorithm>

namespace lumora {

namespace {

bool IsValidKeyName(std::string_view name) {
    return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
}

// True when `candidate` lies somewhere below `path`.
bool IsBelow(std::string_view candidate, std::string_view path) {
    return candidate.size() > path.size() && candidate[path.size()] == '\\' &&
           EqualsIgnoringAsciiCase(candidate.substr(0, path.size()), path);
}

}  // namespace

bool RegDocument::IsValidKeyPath(std::string_view path) {
    for (;;) {
        const std::size_t slash = path.find('\\');
        if (!IsValidKeyName(path.substr(0, slash))) return false;
        if (slash == std::string_view::npos) return true;
        path.remove_prefix(slash + 1);
    }
}

const RegKeyEntry* RegDocument::FindKey(std::string_view path) const {
    auto it = std::find_if(keys_.begin(), keys_.end(), [path](const RegKeyEntry& key) {
        return EqualsIgnoringAsciiCase(key.path, path);
    });
    return it == keys_.end() ? nullptr : &*it;
}

RegKeyEntry* RegDocument::FindKeyEntry(std::string_view path) {
    return const_cast<RegKeyEntry*>(std::as_const(*this).FindKey(path));
}

const RegValue* RegDocument::FindValue(const RegKeyEntry& key, std::string_view name) {
    auto it = std::find_if(key.values.begin(), key.values.end(), [name](const RegValue& value) {
        return EqualsIgnoringAsciiCase(value.name, name);
    });
    return it == key.values.end() ? nullptr : &*it;
}

bool RegDocument::HasSubKeys(std::string_view path) const {
    return std::any_of(keys_.begin(), keys_.end(),
                       [path](const RegKeyEntry& key) { return IsBelow(key.path, path); });
}

RegKeyEntry& RegDocument::CreateKey(std::string_view path) {
    for (std::size_t slash = path.find('\\'); slash != std::string_view::npos;
         slash = path.find('\\', slash + 1)) {
        const std::string_view parent = path.substr(0, slash);
        if (!FindKey(parent)) keys_.push_back(RegKeyEntry{std::string(parent), {}});
    }
    if (RegKeyEntry* existing = FindKeyEntry(path)) return *existing;
    return keys_.emplace_back(RegKeyEntry{std::string(path), {}});
}

void RegDocument::SetValue(std::string_view path, RegValue value) {
    RegKeyEntry& key = CreateKey(path);
    auto it = std::find_if(key.values.begin(), key.values.end(), [&value](const RegValue& v) {
        return EqualsIgnoringAsciiCase(v.name, value.name);
    });
    if (it == key.values.end()) {
        key.values.push_back(std::move(value));
        return;
    }
    it->type = value.type;
    it->data = std::move(value.data);
}

bool RegDocument::RemoveValue(std::string_view path, std::string_view name) {
    RegKeyEntry* key = FindKeyEntry(path);
    if (!key) return false;
    const auto removed = std::erase_if(key->values, [name](const RegValue& value) {
        return EqualsIgnoringAsciiCase(value.name, name);
    });
    return removed > 0;
}

bool RegDocument::RemoveKey(std::string_view path) {
    if (HasSubKeys(path)) return false;
    const auto removed = std::erase_if(keys_, [path](const RegKeyEntry& key) {
        return EqualsIgnoringAsciiCase(key.path, path);
    });
    return removed > 0;
}

}  // namespace lumora
