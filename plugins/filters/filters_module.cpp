// lumora-filters: the filters that ship with Lumora (layer 1, the Filters tab).
#include "filters/blur_filter.h"
#include "filters/cartoon_filter.h"
#include "filters/grey_filter.h"
#include "filters/mirror_filter.h"
#include "filters/negative_filter.h"
#include "filters/pixelate_filter.h"
#include "filters/sepia_filter.h"
#include "filters/vignette_filter.h"

#include "common/effect_list.h"

#include <lumora/plugin.h>

namespace {

using namespace lumora::plugins;

// The module's effects live as long as the module; the host never deletes them.
GreyFilter grey;
SepiaFilter sepia;
NegativeFilter negative;
MirrorFilter mirror;
PixelateFilter pixelate;
BlurFilter blur;
CartoonFilter cartoon;
VignetteFilter vignette;

PluginEffect* const effects[] = {&grey, &sepia, &negative, &mirror, &pixelate, &blur, &cartoon, &vignette};
const EffectList list(effects);

}  // namespace

LUMORA_PLUGIN_EXPORT void GetPluginInfo(lumora::PluginRecord* record) { list.Describe(*record); }

LUMORA_PLUGIN_EXPORT lumora::Effect* GetAnimation(std::int32_t index) { return list.Hand(index); }
