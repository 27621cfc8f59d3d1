#include "cli/effect_request.h"

#include "platform/number_text.h"

#include <cmath>

namespace lumora::cli {
namespace {

constexpr double kMinZoom = 1.0;
constexpr double kMaxZoom = 4.0;
constexpr int kZoomUnits = 256;
constexpr long kMinLevel = 1;
constexpr long kMaxLevel = 256;
constexpr long kMaxOffset = 16384;
constexpr long kMinFaceAmount = 6;
constexpr long kMaxFaceAmount = 9;
constexpr long kMaxEffectNumber = 1000000;

struct PipRange {
    const char* what;
    long low;
    long high;
};
// Device, then position, size and margin of the inset.
constexpr PipRange kPipRanges[] = {{"device", 0, 1000}, {"position", 1, 4}, {"size", 5, 50}, {"margin", 0, 100}};

std::optional<EffectRequest> Fail(std::string* error, std::string text) {
    *error = std::move(text);
    return std::nullopt;
}

std::optional<EffectRequest> ParseZoom(const std::string& value, std::string* error) {
    const std::size_t at = value.find('@');
    const std::optional<double> factor = ParseDecimal(value.substr(0, at));
    if (!factor) return Fail(error, "zoom wants a factor from 1.0 to 4.0");
    if (*factor < kMinZoom || *factor > kMaxZoom) {
        return Fail(error, OutOfRange("zoom=" + value.substr(0, at), "1.0 to 4.0"));
    }
    EffectRequest request;
    request.kind = EffectRequest::Kind::kZoom;
    request.zoomFactor = static_cast<int>(std::lround(*factor * kZoomUnits));
    if (at != std::string::npos) {
        const std::optional<std::vector<long>> offset = ParseIntegerList(value.substr(at + 1));
        if (!offset || offset->size() != 2) return Fail(error, "zoom wants its offset as @<x>,<y>");
        if (std::labs((*offset)[0]) > kMaxOffset || std::labs((*offset)[1]) > kMaxOffset) {
            return Fail(error, OutOfRange("the zoom offset " + value.substr(at), "-16384 to 16384"));
        }
        request.offsetX = static_cast<int>((*offset)[0]);
        request.offsetY = static_cast<int>((*offset)[1]);
    }
    return request;
}

std::optional<EffectRequest> ParseColorFilter(const std::string& value, std::string* error) {
    const std::optional<std::vector<long>> levels = ParseIntegerList(value);
    if (!levels || levels->size() != 3) return Fail(error, "rgb wants three levels <r>,<g>,<b>");
    for (const long level : *levels) {
        if (level < kMinLevel || level > kMaxLevel) {
            return Fail(error, OutOfRange("the rgb level " + std::to_string(level), "1 to 256"));
        }
    }
    EffectRequest request;
    request.kind = EffectRequest::Kind::kColorFilter;
    request.red = static_cast<int>((*levels)[0]);
    request.green = static_cast<int>((*levels)[1]);
    request.blue = static_cast<int>((*levels)[2]);
    return request;
}

std::optional<EffectRequest> ParseFace(const std::string& text, std::string* error) {
    EffectRequest request;
    request.kind = EffectRequest::Kind::kFace;
    if (text == "face") return request;
    const std::optional<long> amount = ParseInteger(text.substr(5));
    if (!amount) return Fail(error, "face wants an amount from 6 to 9");
    if (*amount < kMinFaceAmount || *amount > kMaxFaceAmount) return Fail(error, OutOfRange(text, "6 to 9"));
    request.faceAmount = static_cast<int>(*amount);
    return request;
}

std::optional<EffectRequest> ParsePictureInPicture(const std::string& value, std::string* error) {
    const std::optional<std::vector<long>> numbers = ParseIntegerList(value);
    if (!numbers || numbers->empty() || numbers->size() > 4) {
        return Fail(error, "pip wants <device>[,<position 1-4>[,<size 5-50>[,<margin 0-100>]]]");
    }
    for (std::size_t i = 0; i < numbers->size(); ++i) {
        const PipRange& range = kPipRanges[i];
        if ((*numbers)[i] < range.low || (*numbers)[i] > range.high) {
            return Fail(error, OutOfRange(std::string("the pip ") + range.what + " " + std::to_string((*numbers)[i]),
                                          std::to_string(range.low) + " to " + std::to_string(range.high)));
        }
    }
    EffectRequest request;
    request.kind = EffectRequest::Kind::kPictureInPicture;
    request.pipDevice = static_cast<int>((*numbers)[0]);
    if (numbers->size() > 1) request.pipPosition = static_cast<int>((*numbers)[1]);
    if (numbers->size() > 2) request.pipSize = static_cast<int>((*numbers)[2]);
    if (numbers->size() > 3) request.pipMargin = static_cast<int>((*numbers)[3]);
    return request;
}

}  // namespace

std::optional<EffectRequest> EffectRequest::Parse(const std::string& text, std::string* error) {
    if (text.rfind("zoom=", 0) == 0) return ParseZoom(text.substr(5), error);
    if (text.rfind("rgb=", 0) == 0) return ParseColorFilter(text.substr(4), error);
    if (text == "face" || text.rfind("face=", 0) == 0) return ParseFace(text, error);
    if (text.rfind("pip=", 0) == 0) return ParsePictureInPicture(text.substr(4), error);
    if (text.empty()) return Fail(error, "--effect wants an effect");
    EffectRequest request;
    if (const std::optional<long> number = ParseInteger(text)) {
        if (*number < 1 || *number > kMaxEffectNumber) return Fail(error, OutOfRange("effect " + text, "1 to 1000000"));
        request.kind = Kind::kNumber;
        request.number = static_cast<int>(*number);
        return request;
    }
    request.kind = Kind::kName;
    request.name = text;
    return request;
}

}  // namespace lumora::cli
