// The output sizes and frame rates Lumora's own sources (a picture, the desktop) offer, in
// the order the source option dialogs list them: 160x120, 320x240, 640x480 and 5, 10, 15,
// 20, 25, 30 frames per second.
//
// Constants; any thread.
#pragma once

#include <QComboBox>

#include <array>

namespace lumora {

struct OutputSize {
    int width;
    int height;
};

inline constexpr std::array<OutputSize, 3> kOutputSizes{{{160, 120}, {320, 240}, {640, 480}}};
inline constexpr std::array<int, 6> kOutputRates{5, 10, 15, 20, 25, 30};

// Fills the two lists in table order and selects the entries equal to the current values
// (none when there is no such entry).
void FillOutputLists(QComboBox& sizes, QComboBox& rates, int width, int height, int framesPerSecond);

}  // namespace lumora
