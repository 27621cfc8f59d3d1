// GlyphAtlas: the characters of a date and a time, drawn once in a large size with the
// system's fixed-pitch font and scaled down to any text height, so a caption can be laid
// over frames without drawing text on the streaming thread.
//
// Draw runs on the user-interface thread (it needs the Qt application for the font);
// ScaleTo and Glyph run wherever the owner draws frames. Not synchronised: its owner
// keeps it under one lock.
#pragma once

#include "common/alpha_mask.h"

#include <cstdint>
#include <vector>

namespace lumora::plugins {

class GlyphAtlas {
public:
    // Every character a caption may use, in the order of the masks.
    static constexpr char kCharacters[] = "0123456789-:./ ";

    // Draws the large masters (once; later calls keep them).
    void Draw();
    // Forgets masters and scaled glyphs.
    void Clear();
    bool drawn() const noexcept { return !masters_.empty(); }

    // Scales every glyph to cells `height` pixels high; does nothing when they already
    // are (so it allocates only when the height changes).
    void ScaleTo(std::int32_t height);
    // The scaled glyph of `c` (all glyphs share one cell size), or null when `c` is not
    // one of kCharacters or nothing is scaled.
    const AlphaMask* Glyph(char c) const noexcept;
    std::int32_t cellWidth() const noexcept { return cellWidth_; }
    std::int32_t cellHeight() const noexcept { return cellHeight_; }

private:
    std::vector<AlphaMask> masters_;
    std::vector<AlphaMask> scaled_;
    std::int32_t cellWidth_ = 0;
    std::int32_t cellHeight_ = 0;
};

}  // namespace lumora::plugins
