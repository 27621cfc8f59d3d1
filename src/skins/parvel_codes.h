// The notification codes the skinned controls send their owners with their child id, as
// the Windows controls of the same names did (see each control's `notified` signal).
#pragma once

namespace lumora::parvel {

inline constexpr int kClicked = 0;                 // a button or check box was clicked
inline constexpr int kItemClicked = 1;             // a list tile was clicked
inline constexpr int kItemDoubleClicked = 2;       // a list tile was double-clicked
inline constexpr int kTabSelectionChanged = -551;  // another tab became current

// Child ids the controls give their own parts.
inline constexpr int kCheckBoxBoxId = 5001;
inline constexpr int kListScrollBarId = 4002;
inline constexpr int kScrollUpId = 4003;
inline constexpr int kScrollDownId = 4004;

}  // namespace lumora::parvel
