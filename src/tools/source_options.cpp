#include "tools/source_options.h"

#include "tools/desktop_options_dialog.h"
#include "tools/image_options_dialog.h"
#include "video/source_graph.h"

namespace lumora {

bool EditSourceOptions(SourceGraph& graph, QWidget* owner) {
    const SourceParameters parameters = graph.Parameters();
    bool built = false;
    if (parameters.kind == SourceKind::kImageFile) {
        ImageOptionsDialog dialog(parameters.width, parameters.height, parameters.framesPerSecond, owner);
        if (dialog.exec() != TemplateDialog::kIdOk) return false;
        built = graph.SelectImageFile(parameters.fileName, dialog.ChosenWidth(), dialog.ChosenHeight(),
                                      dialog.ChosenRate());
    } else if (parameters.kind == SourceKind::kDesktop) {
        DesktopOptionsDialog dialog(parameters.width, parameters.height, parameters.framesPerSecond,
                                    parameters.desktopRect, owner);
        if (dialog.exec() != TemplateDialog::kIdOk) return false;
        built =
            graph.SelectDesktop(dialog.ChosenRect(), dialog.ChosenWidth(), dialog.ChosenHeight(), dialog.ChosenRate());
    } else {
        return false;
    }
    if (built) graph.Run();
    return built;
}

}  // namespace lumora
