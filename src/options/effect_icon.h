// The picture an effect shows in the effect lists, made from its `icon` (a Bitmap: rows
// bottom-up, blue-green-red) as a top-down QImage that owns its pixels; a null image for
// an effect without one. Stateless; user-interface thread (the icon must not be changed
// meanwhile, which effects never do after handing it out).
#pragma once

#include <QImage>

namespace lumora {

class Bitmap;

QImage EffectIconImage(const Bitmap* icon);

}  // namespace lumora
