// The "Source" element of still-picture and desktop graphs: our push source (see
// push_source_filter.h), made and configured for the graph builder. These two functions
// are the graph's only door to that element.
//
// Thread: user-interface thread, with the graph in NULL. Needs gst_init(); the picture is
// decoded with Qt, so a Qt application must exist.
#pragma once

#include "platform/hresult.h"
#include "video/source_parameters.h"

#include <gst/gst.h>

namespace lumora {

struct PushSourceBuild {
    GstElement* element = nullptr;  // a floating reference for the graph, or null
    HRESULT result = S_OK;
    bool imageNotLoaded = false;    // the picture could not be loaded (its own message)
};

// The picture of `parameters.fileName` at width x height and framesPerSecond.
PushSourceBuild BuildImageSource(const SourceParameters& parameters, const char* name);

// The desktop rectangle scaled to width x height at framesPerSecond.
PushSourceBuild BuildDesktopSource(const SourceParameters& parameters, const char* name);

}  // namespace lumora
