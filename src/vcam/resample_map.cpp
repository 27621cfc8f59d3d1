#include "vcam/resample_map.h"

#include "vcam/yuv_row_kernels.h"

#include <algorithm>
#include <cmath>

namespace lumora {

ResampleMap::ResampleMap(int sourceLength, int outputLength, int step) {
    const int count = outputLength / step;
    first_.reserve(static_cast<std::size_t>(count));
    second_.reserve(static_cast<std::size_t>(count));
    weight_.reserve(static_cast<std::size_t>(count));
    const double scale = static_cast<double>(sourceLength) / outputLength;
    const int lastPair = std::max(sourceLength - 2, 0);
    for (int k = 0; k < count; ++k) {
        const double centre = (k + 0.5) * step;
        const double at = std::clamp(centre * scale - 0.5, 0.0, static_cast<double>(sourceLength - 1));
        const int first = std::min(static_cast<int>(at), lastPair);
        const int second = std::min(first + 1, sourceLength - 1);
        const auto weight = second == first
                                ? std::uint16_t{0}
                                : static_cast<std::uint16_t>(std::lround((at - first) * yuv_kernels::kWeightOne));
        first_.push_back(first);
        second_.push_back(second);
        weight_.push_back(weight);
    }
}

}  // namespace lumora
