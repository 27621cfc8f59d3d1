#include "app/window/tool_dialogs.h"

namespace lumora {

void ToolDialogs::Register(ToolDialog dialog, Opener opener) {
    openers_[static_cast<std::size_t>(dialog)] = std::move(opener);
}

bool ToolDialogs::Has(ToolDialog dialog) const { return static_cast<bool>(openers_[static_cast<std::size_t>(dialog)]); }

bool ToolDialogs::Open(ToolDialog dialog, QWidget* owner) const {
    const Opener& opener = openers_[static_cast<std::size_t>(dialog)];
    return opener ? opener(owner) : false;
}

}  // namespace lumora
