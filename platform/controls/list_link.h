// How a combo box drives the list box window it drops down. Private to the controls: the
// numbers lie in the list box's own message range, past the last message the platform defines.
#pragma once

#include "win32.h"

namespace controls {

// wParam: the combo box. The list then reports to the combo instead of its parent (taps as
// LBN_SELCHANGE, a tap outside the dropped list as LBN_SELCANCEL) and keeps the stylus
// captured while it is shown.
constexpr UINT listAttachCombo = 0x01B2;

}  // namespace controls
