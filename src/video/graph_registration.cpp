#include "video/graph_registration.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace lumora {

std::string GraphRegistration::PipelineName(const void* address, unsigned pid) {
    char name[128];
    std::snprintf(name, sizeof name, "FilterGraph %08x pid %08x",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(address) & 0xFFFFFFFFu), pid);
    return name;
}

GstElement* GraphRegistration::CreateNamedPipeline() {
    GstElement* pipeline = gst_pipeline_new(nullptr);
    if (pipeline == nullptr) return nullptr;
    const std::string name = PipelineName(pipeline, static_cast<unsigned>(getpid()));
    gst_object_set_name(GST_OBJECT(pipeline), name.c_str());
    return pipeline;
}

std::string GraphRegistration::DumpGraph() const {
    const char* folder = std::getenv("GST_DEBUG_DUMP_DOT_DIR");
    if (pipeline_ == nullptr || folder == nullptr || *folder == '\0') return {};
    gchar* name = gst_object_get_name(GST_OBJECT(pipeline_));
    std::string file = name ? name : "pipeline";
    g_free(name);
    std::replace(file.begin(), file.end(), ' ', '_');
    const std::string path = std::string(folder) + "/" + file + ".dot";

    gchar* graph = gst_debug_bin_to_dot_data(GST_BIN(pipeline_), GST_DEBUG_GRAPH_SHOW_ALL);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (graph) out << graph;
    g_free(graph);
    return out ? path : std::string();
}

}  // namespace lumora
