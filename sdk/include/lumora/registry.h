// Registry helpers: the program's and the plug-ins' only way to remember settings.
//
// Lumora keeps its settings in a small per-user file in the .reg text format (see the
// program's settings store); these functions give it the shape of the Windows registry
// that effects and plug-ins are written against: one root, HKEY_LOCAL_MACHINE, keys named
// by backslash-separated paths ("SOFTWARE\\Lumora\\<effect id>"), typed values.
//
// Rules every function follows:
// - Only HKEY_LOCAL_MACHINE exists. Any other root, or a null path, makes a read return
//   its default (or nothing) and a write return false.
// - Key paths and value names are compared without regard to ASCII letter case; the case
//   used when an item is first written is the one kept. A null or empty value name is the
//   key's default value.
// - No key stays open and no call answers from a stale copy: every call sees the file as
//   it is at that moment, so what one call writes the next call sees.
// - Every failure is silent: no message, no exception. A read gives its default, a write
//   gives false.
// - Thread safety: any thread may call any function; writes from several threads or
//   processes are serialised and none is lost. The program itself only calls them on the
//   user-interface thread.
//
// This header only uses the standard library, so plug-ins can include it on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumora {

// Value types, with their Windows numbers.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;         // UTF-8 text; stored with its terminating zero
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;  // text that may name environment variables
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;      // 32-bit number, 4 bytes little-endian

// Opaque handle of a root key. Compare it, never dereference it.
struct RegRootHandle;
using HKEY = RegRootHandle*;

// The one root key, with the Windows handle value.
inline const HKEY HKEY_LOCAL_MACHINE =
    reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002u));

// One named, typed value as it is stored: `data` holds the raw bytes (text with its
// terminating zero, numbers little-endian). An empty name is the default value.
struct RegValue {
    std::string name;
    std::uint32_t type = REG_NONE;
    std::vector<std::uint8_t> data;
};

// A key's values as they were when the key was opened. It holds no file or handle and
// may be kept, copied and moved freely; it does not see later writes.
class RegKey {
public:
    RegKey(std::string path, std::vector<RegValue> values)
        : path_(std::move(path)), values_(std::move(values)) {}

    // The path as stored (its letter case may differ from the one asked for).
    const std::string& path() const noexcept { return path_; }
    const std::vector<RegValue>& values() const noexcept { return values_; }

private:
    std::string path_;
    std::vector<RegValue> values_;
};

// Opens a key for QueryRegValue: its values at this moment, or nothing when the key does
// not exist (or the root or path is invalid).
std::optional<RegKey> OpenRegKey(HKEY root, const char* path) noexcept;

// Copies value `name` of an opened key into `buffer` (resized to the value's size) and its
// type into `type`. Returns the size in bytes, or -1 when the value does not exist. A
// value of 0 bytes gives 0 and an empty buffer. `buffer` and `type` may be null to ask
// for the size only.
long QueryRegValue(const RegKey& key, const char* name, std::vector<std::uint8_t>* buffer,
                   std::uint32_t* type) noexcept;

// The value if it exists with type REG_DWORD (and 4 bytes), else `defaultValue`.
std::uint32_t ReadRegDword(HKEY root, const char* path, const char* name,
                           std::uint32_t defaultValue) noexcept;

// The text of a REG_SZ or REG_EXPAND_SZ value (not expanded), else nothing.
std::optional<std::string> ReadRegString(HKEY root, const char* path,
                                         const char* name) noexcept;

// The raw bytes of a value of any type, else nothing. A REG_SZ gives its UTF-8 bytes and
// the terminating zero, a REG_DWORD its 4 bytes little-endian.
std::optional<std::vector<std::uint8_t>> ReadRegBinary(HKEY root, const char* path,
                                                       const char* name) noexcept;

// Writers. Each creates the key (and the keys above it) when needed, replaces a value of
// the same name whatever its type, and returns true on success. `text` must not be null.
bool WriteRegString(HKEY root, const char* path, const char* name, const char* text) noexcept;
bool WriteRegExpandString(HKEY root, const char* path, const char* name,
                          const char* text) noexcept;
bool WriteRegDword(HKEY root, const char* path, const char* name, std::uint32_t value) noexcept;
// REG_BINARY. `bytes` may be null only when `size` is 0.
bool WriteRegBinary(HKEY root, const char* path, const char* name, const void* bytes,
                    std::size_t size) noexcept;

// Deletes one value. A missing value or key is not an error: the answer is then true.
bool DeleteRegValue(HKEY root, const char* path, const char* name) noexcept;

// Deletes a key and its values. A key that still has sub-keys stays, and the answer is
// false. A key that does not exist counts as deleted (true).
bool DeleteRegKey(HKEY root, const char* path) noexcept;

}  // namespace lumora
