// The three listing commands of lumora-cli, one line per entry on `out`:
//
//   devices   <index>\t<friendly name>\t<device path>[\tvirtual camera]
//   codecs    <index>\t<compressor name>\t<element name>
//   effects   <number>\t<layer>\t<identifier>\t<name>
//
// Indexes and numbers are those `lumora-cli run` takes. Needs gst_init(); the effects
// listing loads the plug-ins of the program folder.
#pragma once

#include <ostream>

namespace lumora {
class CaptureDeviceList;
class CompressorList;
class EffectChain;
}  // namespace lumora

namespace lumora::cli {

void ListDevices(const CaptureDeviceList& devices, std::ostream& out);
void ListCodecs(const CompressorList& compressors, std::ostream& out);
void ListEffects(const EffectChain& effects, std::ostream& out);

}  // namespace lumora::cli
