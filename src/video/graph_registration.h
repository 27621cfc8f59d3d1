// GraphRegistration: how a source pipeline makes itself known to inspection tools.
//
// Every pipeline is named "FilterGraph %08x pid %08x" (the low 32 bits of its address and
// the process id). Registering a built pipeline, when the environment variable
// GST_DEBUG_DUMP_DOT_DIR names a folder, writes its graph there as "<name>.dot" with the
// blanks of the name turned into '_' (read now, so a running program can be pointed at a
// folder). Revoking only forgets the registration; the dot file stays for reading later.
//
// Thread: user-interface thread. Lifetime: borrows the pipeline between Register and
// Revoke.
#pragma once

#include <gst/gst.h>

#include <string>

namespace lumora {

class GraphRegistration {
public:
    // The name for a pipeline at `address` in process `pid`.
    static std::string PipelineName(const void* address, unsigned pid);

    // A new pipeline (floating reference) carrying its name, or null.
    static GstElement* CreateNamedPipeline();

    void Register(GstElement* pipeline) { pipeline_ = pipeline; }
    void Revoke() { pipeline_ = nullptr; }
    bool Registered() const { return pipeline_ != nullptr; }

    // Writes the registered pipeline's dot graph (see above). The path written, or "" when
    // nothing was written.
    std::string DumpGraph() const;

private:
    GstElement* pipeline_ = nullptr;
};

}  // namespace lumora
