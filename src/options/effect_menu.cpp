#include "options/effect_menu.h"

#include <QAction>

#include <utility>

namespace lumora {
namespace {

EffectMenu::Hook& CurrentHook() {
    static EffectMenu::Hook hook;
    return hook;
}

}  // namespace

EffectMenu::Hook EffectMenu::SetHook(Hook hook) { return std::exchange(CurrentHook(), std::move(hook)); }

int EffectMenu::Run(bool active, bool configurable, QPoint globalAt) {
    QMenu menu;
    menu.addAction(active ? "Stop" : "Start")->setData(kStartStop);
    QAction* options = menu.addAction("Options...");
    options->setData(kOptions);
    options->setEnabled(configurable);
    if (const Hook& hook = CurrentHook()) return hook(menu, globalAt);
    const QAction* chosen = menu.exec(globalAt);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

}  // namespace lumora
