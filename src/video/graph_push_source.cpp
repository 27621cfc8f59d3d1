#include "video/graph_push_source.h"

#include "video/push_source_filter.h"

namespace lumora {
namespace {

void Discard(GstElement* element) { gst_object_unref(gst_object_ref_sink(element)); }

}  // namespace

PushSourceBuild BuildImageSource(const SourceParameters& parameters, const char* name) {
    PushSourceBuild build;
    GstElement* source = CreatePushSource(&build.result, name);
    if (source == nullptr) {
        if (SUCCEEDED(build.result)) build.result = E_FAIL;
        return build;
    }
    if (!SetImageSource(source, parameters.fileName.c_str(), parameters.width, parameters.height,
                        parameters.framesPerSecond)) {
        Discard(source);
        build.result = E_FAIL;
        build.imageNotLoaded = true;
        return build;
    }
    build.element = source;
    return build;
}

PushSourceBuild BuildDesktopSource(const SourceParameters& parameters, const char* name) {
    PushSourceBuild build;
    GstElement* source = CreatePushSource(&build.result, name);
    if (source == nullptr) {
        if (SUCCEEDED(build.result)) build.result = E_FAIL;
        return build;
    }
    const ZImageRect& rect = parameters.desktopRect;
    if (!SetDesktopSource(source, rect.left, rect.top, rect.right, rect.bottom, parameters.width, parameters.height,
                          parameters.framesPerSecond)) {
        Discard(source);
        build.result = E_FAIL;
        return build;
    }
    build.element = source;
    return build;
}

}  // namespace lumora
