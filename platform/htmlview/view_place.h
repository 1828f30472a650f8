// Where a "DISPLAYCLASS" window is, for the test driver's window dumps: the page it shows and
// the anchor it last jumped to. The device's control has no message for either, so the driver
// asks here rather than through a message a program could come to rely on.
#pragma once

#include "win32.h"

#include <optional>
#include <string>

namespace htmlview {

struct ViewPlace {
    // The file:// address navigated to (as given, or as resolved from a followed link), without
    // its "#anchor"; empty while the view shows text added to it.
    std::string address;
    // The name (without '#') of the anchor the view last scrolled to: asked for by DTM_ANCHOR,
    // by a followed "#name" link or by an address's "#anchor". Empty until the view jumps after
    // its content changed; a name that is not on the page moves neither the view nor this.
    std::string anchor;
    // How far the page is scrolled: the page's pixel row at the view's top.
    int top = 0;
};

// Both in UTF-8; none when the window is not an HTML view.
std::optional<ViewPlace> viewPlace(HWND window);

} // namespace htmlview
