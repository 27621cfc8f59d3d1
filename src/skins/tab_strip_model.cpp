#include "skins/tab_strip_model.h"

#include <algorithm>

namespace lumora {

QSize TabStripModel::StripSize() const {
    return {tabWidth_ * std::max(Count(), 1), tabHeight_};
}

int TabStripModel::HitTest(int x) const {
    if (x < 0 || tabWidth_ <= 0) return -1;
    const int index = x / tabWidth_;
    return index < Count() ? index : -1;
}

bool TabStripModel::Select(int index) {
    if (index < 0 || index >= Count() || index == current_) return false;
    current_ = index;
    return true;
}

}  // namespace lumora
