// What the layout probe module read at the Effect's fixed offsets (see
// layout_probe_module.cpp). Shared by the module and the test.
#pragma once

#include <cstdint>

struct ProbeFields {
    const void* vtable;        // offset 0
    std::int32_t id;           // offset 8
    const char* imagesFolder;  // offset 16
    void* module;              // offset 24
    void* ownerWindow;         // offset 32
    char name[64];             // offset 40
    void* icon;                // offset 104
    std::int32_t layer;        // offset 112
    char guid[64];             // offset 116
};
