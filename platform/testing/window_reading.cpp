// The screen's windows read into a dump, each through the platform's calls and its class's own
// messages, as another program of the device would read them.
#include "platform/testing/windows.h"

#include "emulator.h"
#include "htmlview.h"
#include "platform/htmlview/view_place.h"
#include "platform/ui/window_manager.h"
#include "win32/commctrl.h"
#include "win32/controls.h"

namespace driver {

namespace {

// Programs nest a few levels; a chain deeper than this is cut rather than followed.
constexpr int deepestChild = 64;

// The platform's controls say what they show through their text, lines and items; what they
// draw is that again.
bool platformControl(std::u16string_view windowClass)
{
    for (const char16_t* name : {u"BUTTON", u"STATIC", u"EDIT", u"SCROLLBAR"})
        if (sameClassName(windowClass, name))
            return true;
    return false;
}

void readContent(HWND window, WindowDump& dump)
{
    if (sameClassName(dump.windowClass, WC_LISTBOXW)) {
        dump.lines = listBoxItems(window);
    } else if (sameClassName(dump.windowClass, WC_COMBOBOXW)) {
        dump.lines = comboBoxItems(window);
    } else if (sameClassName(dump.windowClass, WC_TREEVIEWW)) {
        dump.items = treeViewItems(window, true);
    } else if (const std::optional<htmlview::ViewPlace> place = htmlview::viewPlace(window)) {
        dump.page = PageDump{emu::fromUtf8(place->address), emu::fromUtf8(place->anchor), place->top};
        // What the page shows is the view's own drawing: a loading line, a page that failed.
        for (const ui::ShownText& shown : ui::shownTexts(window))
            dump.drawn.push_back(DrawnTextDump{shown.text, shown.cell});
    } else if (!platformControl(dump.windowClass)) {
        for (const ui::ShownText& shown : ui::shownTexts(window))
            dump.drawn.push_back(DrawnTextDump{shown.text, shown.cell});
    }
}

WindowDump readWindow(HWND window, HWND focus, int depth)
{
    WindowDump dump;
    dump.windowClass = className(window);
    dump.id = GetWindowLongW(window, GWL_ID);
    dump.text = windowText(window);
    GetWindowRect(window, &dump.rect);
    dump.style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    dump.enabled = IsWindowEnabled(window) != FALSE;
    dump.focused = window == focus;
    readContent(window, dump);
    if (depth >= deepestChild) return dump;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child)) dump.children.push_back(readWindow(child, focus, depth + 1));
    }
    return dump;
}

struct TopLevels {
    std::vector<HWND> windows;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM parameter)
{
    if (IsWindowVisible(window)) reinterpret_cast<TopLevels*>(parameter)->windows.push_back(window);
    return TRUE;
}

}  // namespace

ScreenDump dumpWindows()
{
    // Reading a control may send it messages; the windows are listed before any is read.
    TopLevels tops;
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&tops));
    const HWND focus = GetFocus();
    ScreenDump dump;
    for (HWND window : tops.windows) dump.windows.push_back(readWindow(window, focus, 0));
    return dump;
}

}  // namespace driver
