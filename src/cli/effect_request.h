// EffectRequest: one --effect argument of `lumora-cli run`, parsed.
//
//   zoom=<factor 1.0-4.0>[@<x>,<y>]   the zoom, with its window offset in pixels
//   rgb=<r>,<g>,<b>                   the RGB filter, levels 1-256 (128 leaves a channel)
//   face[=<amount 6-9>]               the zoom that follows the face (default amount: the
//                                     effect's own)
//   pip=<device>[,<position 1-4>[,<size 5-50>[,<margin 0-100>]]]
//                                     picture-in-picture from another capture device
//   <number>                          any registered effect by its number (lumora-cli effects)
//   <name>                            any registered effect by its name or identifier
//
// A plain value; Parse does not look at the effect chain (a number or name is checked
// when the effects are activated).
#pragma once

#include <optional>
#include <string>

namespace lumora::cli {

struct EffectRequest {
    enum class Kind { kZoom, kColorFilter, kFace, kPictureInPicture, kNumber, kName };

    Kind kind = Kind::kName;
    int zoomFactor = 256;  // 1/256 units, 256 to 1024
    int offsetX = 0;
    int offsetY = 0;
    int red = 128;
    int green = 128;
    int blue = 128;
    std::optional<int> faceAmount;
    int pipDevice = -1;
    std::optional<int> pipPosition;
    std::optional<int> pipSize;
    std::optional<int> pipMargin;
    int number = 0;
    std::string name;

    // The request, or none with `error` saying what is wrong.
    static std::optional<EffectRequest> Parse(const std::string& text, std::string* error);
};

}  // namespace lumora::cli
