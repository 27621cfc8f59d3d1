// The contents of the settings file in memory: keys in file order, each with its values.
//
// A key path is a non-empty list of names joined by backslashes ("SOFTWARE\Lumora\Pip");
// no name is empty or holds a control character. Paths and value names are matched
// without regard to ASCII case, and the spelling first written is kept. Every key's
// parent keys exist too: creating a key creates the missing ones above it, and they come
// before it in keys().
//
// Keys and values are indexed by name, so finding or setting one takes the same time
// however many the document holds; removing one costs a pass over its key (or, for a
// key, over the key list).
//
// A plain value type: copy it, move it, use it from one thread at a time (const functions
// from several at once).
#pragma once

#include "platform/ascii_text.h"

#include <lumora/registry.h>

#include <string>
#include <string_view>
#include <unordered_map>
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
    const RegValue* FindValue(std::string_view path, std::string_view name) const;
    // A search through one key's values, for an entry held apart from its document.
    static const RegValue* FindValue(const RegKeyEntry& key, std::string_view name);
    bool HasSubKeys(std::string_view path) const;

    // Creates the key with its missing parents when needed. `path` must be valid.
    void CreateKey(std::string_view path);
    // Replaces a value of the same name (whatever its type, keeping its place) or adds it.
    // `path` must be valid.
    void SetValue(std::string_view path, RegValue value);
    // True when the value existed.
    bool RemoveValue(std::string_view path, std::string_view name);
    // Removes a key and its values unless it has sub-keys. True when it was removed.
    bool RemoveKey(std::string_view path);

private:
    // Position in keys_ (or in a key's values) by name.
    using NameIndex = std::unordered_map<std::string, std::size_t, AsciiCaseHash, AsciiCaseEqual>;

    // The position of the key in keys_, created with its parents when missing.
    std::size_t KeyPosition(std::string_view path);
    std::size_t AppendKey(std::string_view path);
    void ReindexKeys();
    void ReindexValues(std::size_t key);

    std::vector<RegKeyEntry> keys_;
    NameIndex keyIndex_;
    std::vector<NameIndex> valueIndex_;  // one per entry of keys_
};

}  // namespace lumora
