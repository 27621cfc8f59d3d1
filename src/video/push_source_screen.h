// The screen a new push source starts with: the whole X screen of $DISPLAY.
#pragma once

#include <lumora/zimage.h>

namespace lumora {

// (0, 0, width, height) of the default screen of $DISPLAY, read now; (0, 0, 640, 480) when
// no X server can be reached. Any thread.
ZImageRect ReadDesktopScreenRect();

}  // namespace lumora
