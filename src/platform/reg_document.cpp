#include "platform/reg_document.h"

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
    const auto found = keyIndex_.find(path);
    return found == keyIndex_.end() ? nullptr : &keys_[found->second];
}

const RegValue* RegDocument::FindValue(std::string_view path, std::string_view name) const {
    const auto key = keyIndex_.find(path);
    if (key == keyIndex_.end()) return nullptr;
    const NameIndex& values = valueIndex_[key->second];
    const auto value = values.find(name);
    return value == values.end() ? nullptr : &keys_[key->second].values[value->second];
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

void RegDocument::CreateKey(std::string_view path) { KeyPosition(path); }

std::size_t RegDocument::KeyPosition(std::string_view path) {
    if (const auto found = keyIndex_.find(path); found != keyIndex_.end()) return found->second;
    for (std::size_t slash = path.find('\\'); slash != std::string_view::npos;
         slash = path.find('\\', slash + 1)) {
        const std::string_view parent = path.substr(0, slash);
        if (!keyIndex_.contains(parent)) AppendKey(parent);
    }
    return AppendKey(path);
}

std::size_t RegDocument::AppendKey(std::string_view path) {
    const std::size_t position = keys_.size();
    keys_.push_back(RegKeyEntry{std::string(path), {}});
    valueIndex_.emplace_back();
    keyIndex_.emplace(std::string(path), position);
    return position;
}

void RegDocument::SetValue(std::string_view path, RegValue value) {
    const std::size_t key = KeyPosition(path);
    std::vector<RegValue>& values = keys_[key].values;
    const auto [slot, added] = valueIndex_[key].try_emplace(value.name, values.size());
    if (added) {
        values.push_back(std::move(value));
        return;
    }
    RegValue& existing = values[slot->second];
    existing.type = value.type;
    existing.data = std::move(value.data);
}

bool RegDocument::RemoveValue(std::string_view path, std::string_view name) {
    const auto key = keyIndex_.find(path);
    if (key == keyIndex_.end()) return false;
    NameIndex& index = valueIndex_[key->second];
    const auto value = index.find(name);
    if (value == index.end()) return false;
    std::vector<RegValue>& values = keys_[key->second].values;
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(value->second));
    ReindexValues(key->second);
    return true;
}

bool RegDocument::RemoveKey(std::string_view path) {
    const auto key = keyIndex_.find(path);
    if (key == keyIndex_.end() || HasSubKeys(path)) return false;
    const auto position = static_cast<std::ptrdiff_t>(key->second);
    keys_.erase(keys_.begin() + position);
    valueIndex_.erase(valueIndex_.begin() + position);
    ReindexKeys();
    return true;
}

void RegDocument::ReindexKeys() {
    keyIndex_.clear();
    for (std::size_t i = 0; i < keys_.size(); ++i) keyIndex_.emplace(keys_[i].path, i);
}

void RegDocument::ReindexValues(std::size_t key) {
    NameIndex& index = valueIndex_[key];
    index.clear();
    const std::vector<RegValue>& values = keys_[key].values;
    for (std::size_t i = 0; i < values.size(); ++i) index.emplace(values[i].name, i);
}

}  // namespace lumora
