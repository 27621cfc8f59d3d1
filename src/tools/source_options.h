// "Video output stream" of Lumora's own sources: the source option dialog of the current
// picture or desktop source, and on OK the graph rebuilt with the chosen values and run
// (a failed rebuild has said so itself).
//
// Thread: user-interface thread. The graph is borrowed for the call.
#pragma once

#include <QWidget>

namespace lumora {

class SourceGraph;

// True when the graph was rebuilt with new values; false after Cancel or for other sources.
bool EditSourceOptions(SourceGraph& graph, QWidget* owner);

}  // namespace lumora
