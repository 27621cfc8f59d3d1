// FuzzInput: splits the fuzzer's bytes into the pieces a target needs. Texts end at a zero
// byte, so a seed that is a plain text file is one text, and the fuzzer adds further
// pieces by inserting zero bytes. Reading past the end gives empty pieces and zeros.
//
// A view: the bytes must outlive it. One thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
            : rest_(reinterpret_cast<const char*>(data), data ? size : 0) {}

    bool empty() const { return rest_.empty(); }

    // The bytes up to the next zero byte (passed over) or the end.
    std::string_view TakeText() {
        const std::size_t end = rest_.find('\0');
        const std::string_view text = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return text;
    }

    std::uint8_t TakeByte() {
        if (rest_.empty()) return 0;
        const auto byte = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return byte;
    }

    // The next `count` bytes, or as many as are left.
    std::string_view TakeBytes(std::size_t count) {
        const std::string_view bytes = rest_.substr(0, count);
        rest_.remove_prefix(bytes.size());
        return bytes;
    }

    // Four bytes, little-endian; the missing ones count as zero.
    std::uint32_t TakeU32() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) value |= std::uint32_t{TakeByte()} << shift;
        return value;
    }

private:
    std::string_view rest_;
};
