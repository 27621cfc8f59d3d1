// The contents of the settings file in memory: keys in file order, each with its values.
//
// A key path is a non-empty list of names joined by backslashes ("SOFTWARE\Lumora\Pip");
// no name is empty or holds a control character. Paths and value names are matched
// without regard to ASCII case, and the spelling first written is kept. Every key's
// parent keys exist too: creating a key creates the missing ones above it, and they come
// before it in keys().
//
// A plain value type: copy it, move it, use it from one thread at a time.
#pragma once

#include <lumora/registry.h>

#include <string>
#include <string_view>
#include <vector>

namespace lumora {

struct RegKeyEntry {
    std::string path;
    std::vector<RegValue> values;
};

class RegDocument {
public:
    static bool IsValidKeyPath(std::string_view path);

    const std::vector<RegKeyEntry>& keys() const { return keys_; }

    const RegKeyEntry* FindKey(std::string_view path) const;
    static const RegValue* FindValue(const RegKeyEntry& key, std::string_view name);
    bool HasSubKeys(std::string_view path) const;

    // The key, created with its missing parents when needed. `path` must be valid.
    RegKeyEntry& CreateKey(std::string_view path);
    // Replaces a value of the same name (whatever its type, keeping its place) or adds it.
    void SetValue(std::string_view path, RegValue value);
    // True when the value existed.
    bool RemoveValue(std::string_view path, std::string_view name);
    // Removes a key and its values unless it has sub-keys. True when it was removed.
    bool RemoveKey(std::string_view path);

private:
    RegKeyEntry* FindKeyEntry(std::string_view path);

    std::vector<RegKeyEntry> keys_;
};

}  // namespace lumora
