#include "effects/face_module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <vector>

namespace lumora {

namespace {

// The folders the dynamic linker searches for the program's own libraries, in its order
// (LD_LIBRARY_PATH, the run path with $ORIGIN filled in, the system's folders). dlopen of a bare name searches them
// itself, but only when the caller is in the program: under AddressSanitizer dlopen is called from the sanitizer's
// runtime, which has no run path.
std::vector<std::string> ProgramLibraryFolders() {
    std::vector<std::string> folders;
    void* self = ::dlopen(nullptr, RTLD_NOW);
    Dl_serinfo size;
    if (self != nullptr && ::dlinfo(self, RTLD_DI_SERINFOSIZE, &size) == 0) {
        std::vector<Dl_serinfo> storage(size.dls_size / sizeof(Dl_serinfo) + 1);
        Dl_serinfo* info = storage.data();
        *info = size;
        if (::dlinfo(self, RTLD_DI_SERINFO, info) == 0) {
            for (unsigned int i = 0; i < info->dls_cnt; ++i) folders.emplace_back(info->dls_serpath[i].dls_name);
        }
    }
    if (self != nullptr) ::dlclose(self);
    return folders;
}

void* OpenModule(std::string& error) {
    for (const std::string& folder : ProgramLibraryFolders()) {
        const std::string path = folder + "/" + kFaceModuleFileName;
        if (void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
        const char* why = ::dlerror();
        // A module that is there but does not load says why; a missing one says nothing.
        if (error.empty() && why != nullptr && ::access(path.c_str(), F_OK) == 0) error = why;
    }
    if (error.empty()) error = std::string(kFaceModuleFileName) + " is on none of the program's library folders";
    return nullptr;
}

struct LoadedModule {
    MakeFaceEngineFunction make = nullptr;
    std::string error;
};

const LoadedModule& Module() {
    // A function-local static: loaded once, by whichever thread asks first.
    static const LoadedModule module = [] {
        LoadedModule loaded;
        void* handle = OpenModule(loaded.error);
        if (!handle) return loaded;
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
