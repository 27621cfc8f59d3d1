#include "options/select_effect_panel.h"

#include "options/click_connection.h"
#include "options/effect_icon.h"
#include "options/effect_menu.h"
#include "options/list_view_keys.h"
#include "platform/message_box.h"
#include "skins/parvel_codes.h"

#include <QContextMenuEvent>

#include <algorithm>
#include <cstring>

namespace lumora {

SelectEffectPanel::SelectEffectPanel(EffectChain& chain, Mode mode, QWidget* parent)
        : OptionsPanel(Frame::kLight, "ParvelSelectEffect", parent),
          chain_(chain),
          mode_(mode),
          list_(kListId, this),
          startStop_(kStartStopId, this),
          options_(kOptionsId, this) {
    list_.setAccessibleName(mode == Mode::kFilters ? "Filters" : "Effects");
    new ListViewKeys(list_, [this] { update(); });
    list_.installEventFilter(this);
    connect(&list_, &ParvelListView::notified, this, [this](int, int code) {
        if (code == parvel::kItemDoubleClicked) ToggleCurrent();
        UpdateButtons();
    });
    OnClick(startStop_, this, [this] { ToggleCurrent(); });
    OnClick(options_, this, [this] { ShowOptions(); });
    Fill();
    resize(MinimumSize());
    Enable(false);
}

QSize SelectEffectPanel::MinimumSize() {
    const QSize list = ParvelListView::GetPreferredSize();
    return {std::max(list.width(), 149) + 10, list.height() + 33};
}

void SelectEffectPanel::Enable(bool enabled) {
    list_.Enable(enabled);
    startStop_.Enable(enabled);
    options_.Enable(enabled);
    if (!enabled) return;
    // The chain may have been emptied while the source was away.
    MarkRows();
    UpdateButtons();
}

void SelectEffectPanel::MarkRows() {
    const auto& items = list_.Model().Items();
    for (int row = 0; row < static_cast<int>(items.size()); ++row) {
        list_.SetSelected(row, chain_.IsEffectActive(list_.GetItemValue(row)));
    }
}

bool SelectEffectPanel::Listed(const Effect& effect) const {
    if (mode_ == Mode::kAnimations) return effect.layer == kLayerAnimation;
    const EffectId own[] = {chain_.zoomEffectId(), chain_.colorFilterEffectId(), chain_.faceTrackingEffectId()};
    return effect.layer != kLayerAnimation && std::find(std::begin(own), std::end(own), effect.id) == std::end(own);
}

void SelectEffectPanel::Fill() {
    list_.Clear();
    std::vector<const Effect*> listed;
    for (const Effect* effect : chain_.Effects()) {
        if (effect != nullptr && Listed(*effect)) listed.push_back(effect);
    }
    // Every picture is made before the first tile borrows one.
    icons_.clear();
    for (const Effect* effect : listed) icons_.push_back(EffectIconImage(effect->icon));
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const Effect& effect = *listed[i];
        const QString name =
            QString::fromUtf8(effect.name, static_cast<qsizetype>(strnlen(effect.name, sizeof effect.name)));
        list_.AddItem(icons_[i].isNull() ? nullptr : &icons_[i], name, effect.id);
    }
    MarkRows();
    if (list_.isEnabled()) UpdateButtons();
}

EffectId SelectEffectPanel::Current() const {
    const int current = list_.GetCurrent();
    if (current < 0 || current >= static_cast<int>(list_.Model().Items().size())) return 0;
    return list_.GetItemValue(current);
}

void SelectEffectPanel::UpdateButtons() {
    startStop_.Enable(true);
    options_.Enable(true);
    const EffectId id = Current();
    if (id <= 0) {
        startStop_.Enable(false);
        options_.Enable(false);
        return;
    }
    startStop_.SetText(chain_.IsEffectActive(id) ? "Stop effect" : "Start effect");
    Effect* effect = chain_.FindEffect(id);
    if (effect == nullptr || !effect->IsConfigurable()) options_.Enable(false);
}

bool SelectEffectPanel::Toggle(EffectId id) {
    const int row = list_.FindItemByValue(id);
    bool result = true;
    if (!chain_.IsEffectActive(id)) {
        const std::int32_t started = chain_.ActivateEffect(id);
        if (started == kEffectFailed) ShowMessage(this, kStartFailedText, mb::kIconWarning);
        result = started == kEffectStarted;
    } else {
        chain_.DeactivateEffect(id);
    }
    if (row >= 0) list_.SetSelected(row, chain_.IsEffectActive(id));
    if (list_.isEnabled()) UpdateButtons();
    return result;
}

void SelectEffectPanel::ToggleCurrent() {
    if (const EffectId id = Current(); id > 0) Toggle(id);
    UpdateButtons();
}

void SelectEffectPanel::ShowOptions() {
    const EffectId id = Current();
    Effect* effect = chain_.FindEffect(id);
    if (effect == nullptr) return;
    // A running effect starts again with what the user chose.
    if (effect->ShowOptions() && chain_.IsEffectActive(id) && chain_.ActivateEffect(id) == kEffectFailed) {
        ShowAppMessage(kStartFailedText, mb::kIconWarning);
    }
    UpdateButtons();
}

void SelectEffectPanel::ContextMenu(QPoint globalAt) {
    const EffectId id = Current();
    Effect* effect = chain_.FindEffect(id);
    if (effect == nullptr) return;
    switch (EffectMenu::Run(chain_.IsEffectActive(id), effect->IsConfigurable(), globalAt)) {
        case EffectMenu::kStartStop: ToggleCurrent(); break;
        case EffectMenu::kOptions: ShowOptions(); break;
        default: break;
    }
}

bool SelectEffectPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &list_ && event->type() == QEvent::ContextMenu && list_.isEnabled()) {
        ContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return OptionsPanel::eventFilter(watched, event);
}

void SelectEffectPanel::SkinControls(const Skin& skin) {
    list_.ApplySkin(skin);
    startStop_.SetBitmaps(skin.selectEffect.startStop);
    options_.SetBitmaps(skin.selectEffect.options);
    startStop_.update();
    options_.update();
    Fill();
}

void SelectEffectPanel::resizeEvent(QResizeEvent* event) {
    const QRect inner = rect().adjusted(5, 5, -5, -5);
    list_.setGeometry(inner.left(), inner.top(), inner.width(), std::max(0, inner.height() - 23));
    const int buttonTop = inner.bottom() + 1 - kButtonHeight;
    startStop_.setGeometry(inner.left(), buttonTop, kButtonWidth, kButtonHeight);
    options_.setGeometry(inner.left() + 77, buttonTop, kButtonWidth, kButtonHeight);
    OptionsPanel::resizeEvent(event);
}

}  // namespace lumora
