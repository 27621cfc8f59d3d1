#include "cli/listings.h"

#include "effects/effect_chain.h"
#include "video/capture_device_list.h"
#include "video/compressor_list.h"

namespace lumora::cli {

void ListDevices(const CaptureDeviceList& devices, std::ostream& out) {
    for (int i = 0; i < devices.Count(); ++i) {
        const CaptureDeviceInfo* device = devices.DeviceAt(i);
        const std::string name = device->friendlyName.value_or("");
        out << i << '\t' << name << '\t' << device->devicePath.value_or("");
        if (name == kVirtualCameraName) out << "\tvirtual camera";
        out << '\n';
    }
}

void ListCodecs(const CompressorList& compressors, std::ostream& out) {
    for (int i = 0; i < compressors.Count(); ++i) {
        out << i << '\t' << compressors.NameAt(i);
        if (GstElementFactory* factory = compressors.FindCompressor(i)) {
            out << '\t' << GST_OBJECT_NAME(factory);
            gst_object_unref(factory);
        }
        out << '\n';
    }
}

void ListEffects(const EffectChain& effects, std::ostream& out) {
    for (std::size_t i = 0; i < effects.Effects().size(); ++i) {
        const Effect* effect = effects.Effects()[i];
        if (effect == nullptr) continue;
        out << i + 1 << '\t' << static_cast<int>(effect->layer) << '\t' << effect->guid << '\t' << effect->name << '\n';
    }
}

}  // namespace lumora::cli
