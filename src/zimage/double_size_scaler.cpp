#include "double_size_scaler.h"

#include <opencv2/core/utility.hpp>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#define LUMORA_HAVE_X86 1
#endif

namespace lumora::zimage {

namespace {

// Bytes of slack after every scratch row: vector loads and stores run past the row end.
constexpr std::size_t kSlack = 64;

#if defined(LUMORA_HAVE_X86)

// Widening a row: 16 source pixels (48 bytes) become 32 output pixels (96 bytes), made in
// twelve groups of eight output bytes. Output byte o is channel o % 3 of output pixel
// o / 3, which is a mix of source pixel p = o / 6 (weight 3) and its left (even output
// pixel) or right (odd) neighbour (weight 1). For each group a shuffle gathers those
// (near, far) byte pairs from one 16-byte window of the source row.
struct WidenPlan {
    std::array<int, 12> window;  // window start, in bytes from the block's first pixel
    std::array<std::array<std::int8_t, 16>, 12> shuffle;
};

WidenPlan MakeWidenPlan() {
    WidenPlan plan{};
    for (int group = 0; group < 12; ++group) {
        const int first = 8 * group;
        plan.window[group] = 3 * (first / 6) - 3;
        for (int i = 0; i < 8; ++i) {
            const int o = first + i;
            const int q = o / 3;
            const int c = o % 3;
            const int p = q / 2;
            const int side = q % 2 == 0 ? p - 1 : p + 1;
            plan.shuffle[group][2 * i] = static_cast<std::int8_t>(3 * p + c - plan.window[group]);
            plan.shuffle[group][2 * i + 1] = static_cast<std::int8_t>(3 * side + c - plan.window[group]);
        }
    }
    return plan;
}

const WidenPlan& Plan() {
    static const WidenPlan plan = MakeWidenPlan();
    return plan;
}

// (3 * near + far + 2) >> 2 for eight byte pairs: multiply-add with weights 3 and 1, then
// a rounding multiply by 2^13 / 2^15, which is exactly the rounded division by four.
__attribute__((target("ssse3"))) inline __m128i MixPairs(__m128i pairs, __m128i weights, __m128i quarter) {
    return _mm_mulhrs_epi16(_mm_maddubs_epi16(pairs, weights), quarter);
}

// `padded` holds the source row with one copy of its first pixel before it and one of
// its last pixel after it; `out` receives 6 * width bytes (and scratch past them).
__attribute__((target("ssse3"))) void WidenRow(const std::uint8_t* padded, int width, std::uint8_t* out) {
    const WidenPlan& plan = Plan();
    const __m128i weights = _mm_set1_epi16(0x0103);  // bytes 3, 1: near, far
    const __m128i quarter = _mm_set1_epi16(1 << 13);
    __m128i shuffle[12];
    for (int g = 0; g < 12; ++g) shuffle[g] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(plan.shuffle[g].data()));

    const int blocks = (width + 15) / 16;
    for (int b = 0; b < blocks; ++b) {
        const std::uint8_t* block = padded + 48 * b;
        std::uint8_t* to = out + 96 * b;
        for (int g = 0; g < 12; g += 2) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + plan.window[g]));
            const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + plan.window[g + 1]));
            const __m128i low = MixPairs(_mm_shuffle_epi8(a, shuffle[g]), weights, quarter);
            const __m128i high = MixPairs(_mm_shuffle_epi8(c, shuffle[g + 1]), weights, quarter);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 8 * g), _mm_packus_epi16(low, high));
        }
    }
}

// out = (3 * near + far + 2) >> 2 over `bytes` bytes; writes exactly `bytes` bytes.
__attribute__((target("ssse3"))) void BlendRows(const std::uint8_t* near, const std::uint8_t* far, std::uint8_t* out,
                                                std::size_t bytes) {
    const __m128i weights = _mm_set1_epi16(0x0103);
    const __m128i quarter = _mm_set1_epi16(1 << 13);
    std::size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        const __m128i n = _mm_loadu_si128(reinterpret_cast<const __m128i*>(near + i));
        const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(far + i));
        const __m128i low = MixPairs(_mm_unpacklo_epi8(n, f), weights, quarter);
        const __m128i high = MixPairs(_mm_unpackhi_epi8(n, f), weights, quarter);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
    }
    for (; i < bytes; ++i) out[i] = static_cast<std::uint8_t>((3 * near[i] + far[i] + 2) >> 2);
}

#endif

}  // namespace

// One stripe of source rows and the output rows they make, with its own scratch rows:
// the padded source row and a ring of three widened rows (source rows y - 1, y, y + 1).
class DoubleSizeScaler::Stripe : public cv::ParallelLoopBody {
public:
    Stripe(const ConstFrameView& source, const FrameView& target) : source_(source), target_(target) {}

    void operator()(const cv::Range& rows) const override {
#if defined(LUMORA_HAVE_X86)
        const int width = source_.width();
        const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
        const std::size_t wide_bytes = row_bytes * 2;
        std::vector<std::uint8_t> padded(row_bytes + 6 + kSlack);
        std::vector<std::uint8_t> wide(3 * (wide_bytes + kSlack + 96));
        std::uint8_t* ring[3] = {wide.data(), wide.data() + wide_bytes + kSlack + 96,
                                 wide.data() + 2 * (wide_bytes + kSlack + 96)};

        const auto widen = [&](int y, std::uint8_t* out) {
            const std::uint8_t* row = source_.pixel(0, std::clamp(y, 0, source_.height() - 1));
            std::memcpy(padded.data(), row, 3);
            std::memcpy(padded.data() + 3, row, row_bytes);
            std::memcpy(padded.data() + 3 + row_bytes, row + row_bytes - 3, 3);
            WidenRow(padded.data() + 3, width, out);
        };

        std::uint8_t* previous = ring[0];
        std::uint8_t* current = ring[1];
        std::uint8_t* next = ring[2];
        widen(rows.start - 1, previous);
        widen(rows.start, current);
        for (int y = rows.start; y < rows.end; ++y) {
            widen(y + 1, next);
            // Output row 2y lies a quarter pixel from source row y towards row y - 1, output
            // row 2y + 1 a quarter pixel towards row y + 1.
            BlendRows(current, previous, target_.pixel(0, 2 * y), wide_bytes);
            BlendRows(current, next, target_.pixel(0, 2 * y + 1), wide_bytes);
            std::swap(previous, current);
            std::swap(current, next);
        }
#else
        (void)rows;
#endif
    }

private:
    ConstFrameView source_;
    FrameView target_;
};

bool DoubleSizeScaler::Available() noexcept {
#if defined(LUMORA_HAVE_X86)
    static const bool available = __builtin_cpu_supports("ssse3");
    return available;
#else
    return false;
#endif
}

void DoubleSizeScaler::Scale(const ConstFrameView& source, const FrameView& target) {
    const int rows = source.height();
    // Stripes of at least 16 rows, a few per worker so a busy core does not hold up the
    // rest.
    const double stripes = std::max(1, std::min(rows / 16, cv::getNumThreads() * 4));
    cv::parallel_for_(cv::Range(0, rows), Stripe(source, target), stripes);
}

}  // namespace lumora::zimage
