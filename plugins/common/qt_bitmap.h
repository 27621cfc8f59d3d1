// Conversions from pictures drawn with Qt (top row first) into the frame layout (bottom
// row first). Used on the user-interface thread, for icons and for pictures prepared at
// Start.
#pragma once

#include "common/alpha_mask.h"

#include <lumora/bitmap.h>

#include <memory>

class QImage;

namespace lumora::plugins {

// The image's colours as a Bitmap of its size (alpha dropped); null for an empty image or
// when memory runs out.
std::unique_ptr<Bitmap> BitmapFromImage(const QImage& image);

// The image's alpha channel as a mask of its size (empty for an empty image).
AlphaMask AlphaMaskFromImage(const QImage& image);

}  // namespace lumora::plugins
