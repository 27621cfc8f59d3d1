// The SPA parameters the PipeWire camera's stream offers and answers with: the formats it
// can produce (EnumFormat: raw video of one size and rate, layouts in order of preference),
// the buffers it needs once a format is agreed, and the agreed format read back.
// Plain functions; any thread. The pods live in the builder's memory.
#pragma once

#include "vcam/pipewire_video_format.h"

#include <spa/pod/builder.h>

#include <optional>
#include <vector>

namespace lumora {

const spa_pod* BuildEnumFormat(spa_pod_builder* builder, int width, int height, int framesPerSecond,
                               const std::vector<PipeWireLayout>& layouts);

// Buffers for one frame of `format` each, in shared memory the consumer can map.
const spa_pod* BuildBuffers(spa_pod_builder* builder, const PipeWireVideoFormat& format);

// The format of a Format parameter, when it is raw video of a layout we produce.
std::optional<PipeWireVideoFormat> ParseAgreedFormat(const spa_pod* param);

}  // namespace lumora
