#include "row_converter.h"

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#define LUMORA_HAVE_X86 1
#endif

namespace lumora::zimage {

void RowConverter::BgrxToBgr(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels) noexcept {
    const std::size_t done = BgrxToBgrVector(in, out, pixels);
    in += done * 4;
    out += done * 3;
    for (std::size_t i = done; i < pixels; ++i, in += 4, out += 3) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
    }
}

void RowConverter::BgrToBgrx(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels) noexcept {
    const std::size_t done = BgrToBgrxVector(in, out, pixels);
    in += done * 3;
    out += done * 4;
    for (std::size_t i = done; i < pixels; ++i, in += 3, out += 4) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = 0xff;
    }
}

#if defined(LUMORA_HAVE_X86)

namespace {

// Four pixels a step: the shuffle packs their twelve colour bytes at the front of the
// vector, and each store's last four bytes are overwritten by the next step. The loop
// stops early enough that no store reaches past the row.
__attribute__((target("ssse3"))) std::size_t Shuffle(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels) {
    const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    std::size_t done = 0;
    for (; done + 6 <= pixels; done += 4) {
        const __m128i bgrx = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done * 4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done * 3), _mm_shuffle_epi8(bgrx, pack));
    }
    return done;
}

// Four pixels a step, the other way: each load takes sixteen bytes of which the first
// twelve are four pixels, so the loop stops while a whole load still fits in the row.
__attribute__((target("ssse3"))) std::size_t Widen(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xff000000u));
    std::size_t done = 0;
    for (; done * 3 + 16 <= pixels * 3; done += 4) {
        const __m128i bgr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done * 3));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done * 4),
                         _mm_or_si128(_mm_shuffle_epi8(bgr, spread), opaque));
    }
    return done;
}

}  // namespace

std::size_t RowConverter::BgrToBgrxVector(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels) noexcept {
    static const bool available = __builtin_cpu_supports("ssse3");
    return available ? Widen(in, out, pixels) : 0;
}

std::size_t RowConverter::BgrxToBgrVector(const std::uint8_t* in, std::uint8_t* out, std::size_t pixels) noexcept {
    static const bool available = __builtin_cpu_supports("ssse3");
    return available ? Shuffle(in, out, pixels) : 0;
}

#else

std::size_t RowConverter::BgrxToBgrVector(const std::uint8_t*, std::uint8_t*, std::size_t) noexcept { return 0; }
std::size_t RowConverter::BgrToBgrxVector(const std::uint8_t*, std::uint8_t*, std::size_t) noexcept { return 0; }

#endif

}  // namespace lumora::zimage
