// lumora-animations: the animations that ship with Lumora (layer 3, the Effects tab).
#include "animations/bubbles.h"
#include "animations/clock_caption.h"
#include "animations/confetti.h"
#include "animations/hearts.h"
#include "animations/picture_frame.h"
#include "animations/snowfall.h"

#include "common/effect_list.h"

#include <lumora/plugin.h>

namespace {

using namespace lumora::plugins;

// The module's effects live as long as the module; the host never deletes them.
Snowfall snowfall;
Hearts hearts;
Bubbles bubbles;
Confetti confetti;
PictureFrame pictureFrame;
ClockCaption clockCaption;

PluginEffect* const effects[] = {&snowfall, &hearts, &bubbles, &confetti, &pictureFrame, &clockCaption};
const EffectList list(effects);

}  // namespace

LUMORA_PLUGIN_EXPORT void GetPluginInfo(lumora::PluginRecord* record) { list.Describe(*record); }

LUMORA_PLUGIN_EXPORT lumora::Effect* GetAnimation(std::int32_t index) { return list.Hand(index); }
