#include "effects/face/c_face_track.h"

#include <opencv2/imgproc.hpp>
#include <opencv2/tracking.hpp>

#include <array>
#include <cmath>

namespace lumora {

namespace {

// The filter works on the frame scaled so that the face is about this many pixels across,
// whatever its size in the frame: the filter's cost and precision stay the same.
constexpr float kWorkingFaceSide = 32.0f;
constexpr int kTemplateSide = 24;  // the face's grey template, working pixels
constexpr int kSearchMargin = 3;   // template pixels of play on each side
constexpr int kSearchSide = kTemplateSide + 2 * kSearchMargin;
constexpr std::array<float, 5> kScales{0.94f, 0.97f, 1.0f, 1.03f, 1.06f};
constexpr double kMinTemplateMatch = 0.35;  // below: the face is gone
constexpr float kTemplateLearningRate = 0.02f;
constexpr float kRetrainDrift = 0.08f;  // size change that retrains the filter
constexpr int kMinFaceSide = 4;

FtRect Around(cv::Point2f centre, cv::Size2f size) {
    const auto left = static_cast<std::int32_t>(std::lround(centre.x - size.width / 2));
    const auto top = static_cast<std::int32_t>(std::lround(centre.y - size.height / 2));
    return {left, top, left + static_cast<std::int32_t>(std::lround(size.width)),
            top + static_cast<std::int32_t>(std::lround(size.height))};
}

// The part of `grey` of `size` around `centre`, scaled to side x side; parts outside the
// picture repeat its edge. Empty when nothing of it is inside.
cv::Mat Patch(const cv::Mat& grey, cv::Point2f centre, cv::Size2f size, int side) {
    const cv::Rect wanted(cvRound(centre.x - size.width / 2), cvRound(centre.y - size.height / 2),
                          std::max(1, cvRound(size.width)), std::max(1, cvRound(size.height)));
    const cv::Rect inside = wanted & cv::Rect(0, 0, grey.cols, grey.rows);
    if (inside.empty()) return {};
    cv::Mat region = grey(inside);
    if (inside != wanted) {
        cv::copyMakeBorder(region, region, inside.y - wanted.y, wanted.br().y - inside.br().y, inside.x - wanted.x,
                           wanted.br().x - inside.br().x, cv::BORDER_REPLICATE);
    }
    cv::Mat scaled;
    cv::resize(region, scaled, cv::Size(side, side), 0, 0, cv::INTER_AREA);
    cv::Mat result;
    scaled.convertTo(result, CV_32F);
    return result;
}

struct Match {
    double score = -2.0;
    cv::Point2f offset;  // of the template from the search patch's centre, search pixels
    float scale = 1.0f;
};

// Where the template fits best inside the (slightly larger) search patch, to a fraction
// of a pixel.
Match BestMatch(const cv::Mat& search, const cv::Mat& model) {
    cv::Mat score;
    cv::matchTemplate(search, model, score, cv::TM_CCOEFF_NORMED);
    Match match;
    cv::Point peak;
    cv::minMaxLoc(score, nullptr, &match.score, nullptr, &peak);
    const auto refine = [&](int x, int y, int dx, int dy) {
        const float before = score.at<float>(y - dy, x - dx);
        const float at = score.at<float>(y, x);
        const float after = score.at<float>(y + dy, x + dx);
        const float curve = before - 2 * at + after;
        return curve < 0 ? 0.5f * (before - after) / curve : 0.0f;
    };
    match.offset = cv::Point2f(static_cast<float>(peak.x - kSearchMargin), static_cast<float>(peak.y - kSearchMargin));
    if (peak.x > 0 && peak.x < score.cols - 1) match.offset.x += refine(peak.x, peak.y, 1, 0);
    if (peak.y > 0 && peak.y < score.rows - 1) match.offset.y += refine(peak.x, peak.y, 0, 1);
    return match;
}

}  // namespace

// Positions and sizes are kept in frame pixels; `scale` maps them into the working
// picture the filter and the template see.
struct CFaceTrack::State {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool ready = false;
    bool trained = false;

    cv::Ptr<cv::TrackerKCF> filter;
    float scale = 1.0f;     // working pixels per frame pixel, fixed while the filter lives
    cv::Size2f filterSize;  // the face size the filter was trained at, frame pixels
    cv::Point2f centre;
    cv::Size2f size;
    cv::Mat model;  // grey template of the face as it was learnt, CV_32F

    cv::Mat small;   // the frame at the working scale, red-green-blue
    cv::Mat colour;  // the same, blue-green-red, as the filter reads it
    cv::Mat grey;

    void Prepare(const std::uint8_t* frame) {
        const cv::Mat rgb(height, width, CV_8UC3, const_cast<std::uint8_t*>(frame));
        if (scale < 1.0f) {
            cv::resize(rgb, small, cv::Size(), scale, scale, cv::INTER_AREA);
        } else {
            small = rgb;
        }
        cv::cvtColor(small, colour, cv::COLOR_RGB2BGR);
        cv::cvtColor(small, grey, cv::COLOR_RGB2GRAY);
    }

    cv::Point2f Working(cv::Point2f p) const { return p * scale; }
    cv::Point2f Frame(cv::Point2f p) const { return p * (1.0f / scale); }

    // A new filter and scale for the face as it is now in `frame`.
    void Train(const std::uint8_t* frame) {
        scale = std::min(1.0f, kWorkingFaceSide / std::max(size.width, size.height));
        Prepare(frame);
        cv::TrackerKCF::Params params;
        params.resize = false;
        filter = cv::TrackerKCF::create(params);
        const FtRect box = Around(Working(centre), size * scale);
        filter->init(colour, cv::Rect(box.left, box.top, box.right - box.left, box.bottom - box.top));
        filterSize = size;
    }
};

CFaceTrack::CFaceTrack() : state_(std::make_unique<State>()) {}

CFaceTrack::~CFaceTrack() = default;

std::int32_t CFaceTrack::FtInitialization(std::int32_t width, std::int32_t height, std::int32_t faces,
                                          TemplateType type) {
    State& s = *state_;
    s.ready = s.trained = false;
    s.filter.reset();
    if (width < kMinFaceSide || height < kMinFaceSide || faces != 1 || type != TemplateType::kColour) return 0;
    s.width = width;
    s.height = height;
    s.ready = true;
    return 1;
}

std::int32_t CFaceTrack::FtTraining(FtRect face, const std::uint8_t* frame) try {
    State& s = *state_;
    s.trained = false;
    if (!s.ready || !frame) return 0;
    const cv::Rect r(face.left, face.top, face.right - face.left, face.bottom - face.top);
    if (r.width < kMinFaceSide || r.height < kMinFaceSide) return 0;
    // At least half of the face must be in the picture.
    if ((r & cv::Rect(0, 0, s.width, s.height)).area() * 2 < r.area()) return 0;
    s.centre = cv::Point2f(r.x + r.width / 2.0f, r.y + r.height / 2.0f);
    s.size = cv::Size2f(static_cast<float>(r.width), static_cast<float>(r.height));
    s.Train(frame);
    s.model = Patch(s.grey, s.Working(s.centre), s.size * s.scale, kTemplateSide);
    s.trained = true;
    return 1;
} catch (const cv::Exception&) {
    return 0;
} catch (const std::bad_alloc&) {
    return 0;
}

std::int32_t CFaceTrack::FtTrackNextFrame(FtRect& face, const std::uint8_t* frame) try {
    State& s = *state_;
    if (!s.trained || !frame) return 0;
    const auto lose = [&s] {
        s.trained = false;
        return 0;
    };
    s.Prepare(frame);
    cv::Rect moved;
    if (!s.filter->update(s.colour, moved)) return lose();
    const cv::Point2f working(moved.x + moved.width / 2.0f, moved.y + moved.height / 2.0f);
    const cv::Point2f centre = s.Frame(working);
    if (centre.x < 0 || centre.y < 0 || centre.x >= static_cast<float>(s.width) ||
        centre.y >= static_cast<float>(s.height)) {
        return lose();
    }

    // Size and fine position: the template compared with the picture around the new
    // centre at a few sizes near the last one, each allowed a little play.
    const float searchRatio = static_cast<float>(kSearchSide) / kTemplateSide;
    Match best;
    for (const float scale : kScales) {
        const cv::Mat search = Patch(s.grey, working, s.size * (s.scale * scale * searchRatio), kSearchSide);
        if (search.empty()) continue;
        Match match = BestMatch(search, s.model);
        if (match.score > best.score) {
            best = match;
            best.scale = scale;
        }
    }
    if (best.score < kMinTemplateMatch) return lose();

    s.size = s.size * best.scale;
    const float framePixelsPerSearchPixel = s.size.width / kTemplateSide;
    s.centre = centre + best.offset * framePixelsPerSearchPixel;
    // The filter only moves in whole working pixels; when it is more than one off, or the
    // face has changed size, it starts again from the template's answer.
    const cv::Point2f off = s.Working(s.centre) - working;
    if (std::abs(s.size.width / s.filterSize.width - 1.0f) > kRetrainDrift || std::abs(off.x) > 1.0f ||
        std::abs(off.y) > 1.0f) {
        s.Train(frame);
    }
    face = Around(s.centre, s.size);
    return 1;
} catch (const cv::Exception&) {
    state_->trained = false;
    return 0;
} catch (const std::bad_alloc&) {
    state_->trained = false;
    return 0;
}

}  // namespace lumora
