// ThumbTrack: what scroll bars and sliders share: a position inside a range of integers,
// a thumb that is being dragged or not, and the mapping of positions onto a track of
// pixels (offset 0 is the minimum, offset `span` the maximum). Arithmetic is done in 64
// bits, so ranges as wide as int allows work.
//
// Invariant: minimum <= position <= maximum. Plain value; one thread.
#pragma once

#include <algorithm>
#include <cstdint>

namespace lumora {

class ThumbTrack {
public:
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    int Position() const { return position_; }
    bool Dragging() const { return dragging_; }

    // Clamped into the range; answers whether the position changed.
    bool SetPosition(std::int64_t position) {
        const int clamped = static_cast<int>(std::clamp<std::int64_t>(position, minimum_, maximum_));
        if (clamped == position_) return false;
        position_ = clamped;
        return true;
    }
    // Moves by `delta`, clamped; answers whether the position changed.
    bool Step(std::int64_t delta) { return SetPosition(position_ + delta); }
    void Release() { dragging_ = false; }

protected:
    ThumbTrack() = default;
    ~ThumbTrack() = default;

    // `maximum` must not be below `minimum`; the position is clamped into the range.
    void SetBounds(int minimum, int maximum) {
        minimum_ = minimum;
        maximum_ = maximum;
        position_ = std::clamp(position_, minimum_, maximum_);
    }
    void SetDragging(bool dragging) { dragging_ = dragging; }

    // The pixel offset of the position on a track `span` pixels long (an empty range sits
    // at 0); 0 for a track without length.
    int OffsetOn(int span) const {
        if (span <= 0) return 0;
        const std::int64_t range = maximum_ == minimum_ ? 1 : std::int64_t{maximum_} - minimum_;
        return static_cast<int>((std::int64_t{position_} - minimum_) * span / range);
    }
    // The position at `offset` (clamped to the track) on a track `span` pixels long; the
    // minimum for a track without length.
    int ValueAt(int offset, int span) const {
        if (span <= 0) return minimum_;
        const std::int64_t value = (std::int64_t{maximum_} - minimum_) * std::clamp(offset, 0, span) / span + minimum_;
        return static_cast<int>(std::clamp<std::int64_t>(value, minimum_, maximum_));
    }

private:
    int minimum_ = 1;
    int maximum_ = 100;
    int position_ = 50;
    bool dragging_ = false;
};

}  // namespace lumora
