// The one symbol liblumora-face.so exports (everything else in it is hidden): FaceModule
// finds it with dlsym.
#include "effects/face/opencv_face_engine.h"

#include <exception>

extern "C" __attribute__((visibility("default"))) lumora::FaceEngine* lumora_make_face_engine() {
    try {
        return new lumora::OpenCvFaceEngine();
    } catch (const std::exception&) {
        return nullptr;
    }
}
