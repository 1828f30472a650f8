// A picture of the screen's windows as data: every visible top-level window, topmost first,
// with its visible children and what its list, tree or page shows. Scenario tests search it;
// the `dump` script command writes it as JSON beside the screenshots, so that a failed run can
// be read without the program.
#pragma once

#include "win32/gdi.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace driver {

// A line of a list box or of a combo box's list.
struct ListLineDump {
    std::u16string text;
    LONG_PTR value = 0;  // the item data
    bool selected = false;
};

// An item of a tree view as it is shown: `depth` 0 for the roots.
struct TreeItemDump {
    std::u16string text;
    int depth = 0;
    bool expanded = false;
    bool selected = false;
};

// What an HTML view shows: the file:// address navigated to (empty for text added to it) and the
// name of the anchor it last jumped to (empty when none), neither with a '#'.
struct PageDump {
    std::u16string address;
    std::u16string anchor;
    int top = 0;  // the page's pixel row at the view's top
};

// A run of text that a window drew itself (not a control's own text, line or item).
struct DrawnTextDump {
    std::u16string text;
    RECT rect{};  // its cell on the screen
};

struct WindowDump {
    std::u16string windowClass;
    LONG_PTR id = 0;  // GWL_ID
    std::u16string text;
    RECT rect{};      // on the screen
    DWORD style = 0;  // GWL_STYLE
    bool enabled = false;
    bool focused = false;
    std::optional<std::vector<ListLineDump>> lines;  // list boxes and combo boxes
    std::optional<std::vector<TreeItemDump>> items;  // tree views: items whose parents are expanded
    std::optional<PageDump> page;                    // HTML views
    // The program's own windows (not the platform's controls): the texts they show, in the order
    // drawn, each once.
    std::vector<DrawnTextDump> drawn;
    std::vector<WindowDump> children;                // visible ones, topmost first
};

struct ScreenDump {
    std::vector<WindowDump> windows;  // visible top-level windows, topmost first
};

// The dump as UTF-8 JSON:
//   {"windows": [{"class", "id", "text", "rect": [left, top, right, bottom], "style", "enabled",
//     "focused", ["lines": [{"text", "value", "selected"}]], ["items": [{"text", "depth",
//     "expanded", "selected"}]], ["address", "anchor", "top"], ["drawn": [{"text", "rect"}]],
//     "children": [...]}]}
// Texts are strings; everything else is a number (flags 0 or 1).
std::string dumpJson(const ScreenDump& dump);
// Writes dumpJson to a file; 0, or -1 when it cannot be written.
int writeDump(const ScreenDump& dump, const std::string& path);

// Window class names compare without regard to ASCII case, as the platform's do.
bool sameClassName(std::u16string_view a, std::u16string_view b);

// The first window in the order of the dump (each window before its children) whose class
// (case-insensitively) and text (exactly) match; an empty class or text matches any. Over a
// dump every window counts, over a window its descendants. Null when there is none.
const WindowDump* findDumped(const ScreenDump& dump, std::u16string_view windowClass, std::u16string_view text = {});
const WindowDump* findDumped(const WindowDump& within, std::u16string_view windowClass, std::u16string_view text = {});
// The same by control identifier.
const WindowDump* findDumpedControl(const ScreenDump& dump, LONG_PTR controlId);
const WindowDump* findDumpedControl(const WindowDump& within, LONG_PTR controlId);

}  // namespace driver
