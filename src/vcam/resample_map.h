// ResampleMap: where each output sample of a bilinear scale along one axis takes its
// value from: the two neighbouring source samples and the 7-bit weight between them.
// Pixel centres are aligned the usual way (output centre c maps to source c * scale - 0.5,
// clamped to the edge samples). A step of 2 gives the samples of a half-resolution
// chroma axis, each sitting between the two output pixels it covers.
//
// A plain value; built once per geometry and only read afterwards.
#pragma once

#include <cstdint>
#include <vector>

namespace lumora {

class ResampleMap {
public:
    ResampleMap() = default;

    // `count` output samples over an output axis of `outputLength` pixels (count =
    // outputLength / step), from an axis of `sourceLength` source samples.
    ResampleMap(int sourceLength, int outputLength, int step);

    int size() const { return static_cast<int>(first_.size()); }
    const std::int32_t* first() const { return first_.data(); }
    const std::int32_t* second() const { return second_.data(); }
    const std::uint16_t* weight() const { return weight_.data(); }

private:
    std::vector<std::int32_t> first_;
    std::vector<std::int32_t> second_;  // first + 1, or first itself at the last sample
    std::vector<std::uint16_t> weight_;
};

}  // namespace lumora
