#include "effects/face_module.h"

#include <dlfcn.h>

namespace lumora {

namespace {

struct LoadedModule {
    MakeFaceEngineFunction make = nullptr;
    std::string error;
};

const LoadedModule& Module() {
    // A function-local static: loaded once, by whichever thread asks first.
    static const LoadedModule module = [] {
        LoadedModule loaded;
        void* handle = ::dlopen(kFaceModuleFileName, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = ::dlerror();
            loaded.error = why ? why : kFaceModuleFileName;
            return loaded;
        }
        loaded.make = reinterpret_cast<MakeFaceEngineFunction>(::dlsym(handle, kMakeFaceEngineExport));
        if (!loaded.make) loaded.error = std::string(kFaceModuleFileName) + " has no " + kMakeFaceEngineExport;
        return loaded;
    }();
    return module;
}

}  // namespace

std::unique_ptr<FaceEngine> FaceModule::MakeEngine() {
    const LoadedModule& module = Module();
    return std::unique_ptr<FaceEngine>(module.make ? module.make() : nullptr);
}

std::string FaceModule::LoadError() { return Module().error; }

}  // namespace lumora
