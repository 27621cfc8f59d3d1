// FaceModule: makes face engines from liblumora-face.so (face_engine.h), loading the module
// the first time one is asked for. It is looked for where the program's own libraries
// are (through its run path: the program folder's modules/ folder, built and installed so).
//
// Thread: MakeEngine from any thread; the first call loads the module, the others wait
// for it and then reuse it.
// Lifetime: once loaded, the module stays for the rest of the process: engines may outlive
// their makers, and OpenCV's libraries do not unload cleanly.
#pragma once

#include "effects/face_engine.h"

#include <memory>
#include <string>

namespace lumora {

class FaceModule {
public:
    // A new engine; null when the module cannot be loaded (LoadError says why) or the
    // engine cannot be made.
    static std::unique_ptr<FaceEngine> MakeEngine();

    // Why the module could not be loaded: the dynamic linker's message, empty when it was.
    static std::string LoadError();
};

}  // namespace lumora
