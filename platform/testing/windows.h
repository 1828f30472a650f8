// What a test reads of the program's windows: finding them and the texts of their controls.
// Called by the body during its turn; everything is read through the platform's own calls and
// messages, as another program of the device would read it.
#pragma once

#include "platform/testing/window_dump.h"
#include "win32.h"

#include <string>
#include <string_view>
#include <vector>

namespace driver {

// The first visible window, top-level or child, whose class (case-insensitively) and caption
// (exactly) match; an empty class or caption matches any. Null when there is none.
HWND findWindow(std::u16string_view windowClass, std::u16string_view caption);
// The descendant of `parent` with this control identifier, visible or not.
HWND findControl(HWND parent, int controlId);

std::u16string windowText(HWND window);
std::u16string className(HWND window);

// The lines of a list box (LB_GETCOUNT, LB_GETTEXT) or of a combo box's list (CB_GETCOUNT,
// CB_GETLBTEXT). A line that cannot be read is left empty.
std::vector<std::u16string> listBoxLines(HWND listBox);
std::vector<std::u16string> comboBoxLines(HWND comboBox);

// The same with each line's item data and whether it is selected (LB_GETITEMDATA and LB_GETSEL;
// CB_GETITEMDATA and CB_GETCURSEL).
std::vector<ListLineDump> listBoxItems(HWND listBox);
std::vector<ListLineDump> comboBoxItems(HWND comboBox);

// The items of a tree view depth first (TVM_GETNEXTITEM, TVM_GETITEMW), with their depth
// (0 for the roots), collapsed branches included.
struct TreeLine {
    int depth = 0;
    std::u16string text;
};
std::vector<TreeLine> treeViewLines(HWND treeView);
// The same with each item's state (TVIS_EXPANDED, TVIS_SELECTED); `shownOnly` leaves out what
// collapsed branches hold, as the tree shows it.
std::vector<TreeItemDump> treeViewItems(HWND treeView, bool shownOnly);

// Every visible top-level window (EnumWindows) and its visible children (GW_CHILD, GW_HWNDNEXT),
// topmost first, with what lists, trees and HTML views show.
ScreenDump dumpWindows();

}  // namespace driver
