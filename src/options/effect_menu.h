// EffectMenu: the context menu of an effect list, "Start" or "Stop" (4003) and
// "Options..." (4004, greyed unless the effect has options), shown at the pointer. It
// answers the command chosen, 0 when the menu was closed without a choice.
//
// Tests put in a hook that answers for the user instead of showing the menu.
// Stateless apart from the hook; user-interface thread.
#pragma once

#include <QMenu>
#include <QPoint>

#include <functional>

namespace lumora {

class EffectMenu {
public:
    static constexpr int kStartStop = 4003;
    static constexpr int kOptions = 4004;

    // Gets the menu about to be shown and where; answers a command (0: none).
    using Hook = std::function<int(QMenu& menu, QPoint globalAt)>;
    // Answers the hook it replaces.
    static Hook SetHook(Hook hook);

    static int Run(bool active, bool configurable, QPoint globalAt);
};

}  // namespace lumora
