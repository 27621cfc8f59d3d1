#include "double_size_scaler.h"

#include "doubling_kernels.h"

#include <opencv2/core/utility.hpp>

#include <algorithm>
#include <cstring>
#include <vector>

namespace lumora::zimage {

// One stripe of source rows and the output rows they make, with its own scratch rows:
// the padded source row and a ring of three widened rows (source rows y - 1, y, y + 1).
class DoubleSizeScaler::Stripe : public cv::ParallelLoopBody {
public:
    Stripe(const ConstFrameView& source, const FrameView& target) : source_(source), target_(target) {}

    void operator()(const cv::Range& rows) const override {
        const int width = source_.width();
        const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
        const std::size_t wide_bytes = row_bytes * 2;
        const std::size_t wide_room = wide_bytes + DoublingKernels::kSlack;
        std::vector<std::uint8_t> padded(row_bytes + 6 + DoublingKernels::kSlack);
        std::vector<std::uint8_t> wide(3 * wide_room);
        std::uint8_t* ring[3] = {wide.data(), wide.data() + wide_room, wide.data() + 2 * wide_room};

        const auto widen = [&](int y, std::uint8_t* out) {
            const std::uint8_t* row = source_.pixel(0, std::clamp(y, 0, source_.height() - 1));
            std::memcpy(padded.data(), row, 3);
            std::memcpy(padded.data() + 3, row, row_bytes);
            std::memcpy(padded.data() + 3 + row_bytes, row + row_bytes - 3, 3);
            DoublingKernels::WidenDouble(padded.data(), width, out);
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
            DoublingKernels::BlendQuarter(current, previous, target_.pixel(0, 2 * y), wide_bytes);
            DoublingKernels::BlendQuarter(current, next, target_.pixel(0, 2 * y + 1), wide_bytes);
            std::swap(previous, current);
            std::swap(current, next);
        }
    }

private:
    ConstFrameView source_;
    FrameView target_;
};

void DoubleSizeScaler::Scale(const ConstFrameView& source, const FrameView& target) {
    const int rows = source.height();
    // Stripes of at least 16 rows, a few per worker so a busy core does not hold up the
    // rest.
    const double stripes = std::max(1, std::min(rows / 16, cv::getNumThreads() * 4));
    cv::parallel_for_(cv::Range(0, rows), Stripe(source, target), stripes);
}

}  // namespace lumora::zimage
