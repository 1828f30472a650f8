#include "platform/testing/windows.h"

#include "win32/commctrl.h"
#include "win32/controls.h"

namespace driver {

namespace {

// Longest item text read; the programs' own limits are far below.
constexpr int longestItem = 4096;

bool sameClass(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

struct WindowSearch {
    std::u16string_view windowClass;
    std::u16string_view caption;
    int controlId = 0;
    bool byId = false;
    HWND found = nullptr;
};

bool matches(HWND window, const WindowSearch& search)
{
    if (search.byId) return GetDlgCtrlID(window) == search.controlId;
    if (!IsWindowVisible(window)) return false;
    return (search.windowClass.empty() || sameClass(className(window), search.windowClass)) &&
           (search.caption.empty() || windowText(window) == search.caption);
}

BOOL CALLBACK visitChild(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    if (matches(window, search)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK visitTopLevel(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    if (visitChild(window, parameter) == FALSE) return FALSE;
    // EnumChildWindows walks every descendant, not only the direct children.
    EnumChildWindows(window, visitChild, parameter);
    return search.found == nullptr;
}

std::vector<std::u16string> itemLines(HWND window, UINT countMessage, UINT lengthMessage, UINT textMessage)
{
    std::vector<std::u16string> lines;
    const LRESULT count = SendMessageW(window, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(window, lengthMessage, static_cast<WPARAM>(i), 0);
        std::u16string line;
        if (length > 0 && length <= longestItem) {
            line.assign(static_cast<size_t>(length) + 1, u'\0');
            const LRESULT copied = SendMessageW(window, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data()));
            line.resize(copied > 0 && copied <= length ? static_cast<size_t>(copied) : 0);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

HTREEITEM nextItem(HWND tree, UINT relation, HTREEITEM item)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// Depth first without recursion and with one text buffer, so that a deep tree cannot exhaust
// the stack; bounded so that a tree whose links run in a circle cannot hold the test forever.
std::vector<TreeLine> walkTree(HWND tree)
{
    constexpr size_t mostLines = 100000;
    std::vector<TreeLine> lines;
    std::vector<WCHAR> text(longestItem);
    // The item to visit next at each depth below the current one.
    std::vector<HTREEITEM> pending;
    HTREEITEM item = nextItem(tree, TVGN_ROOT, nullptr);
    while (lines.size() < mostLines) {
        while (item == nullptr && !pending.empty()) {
            item = pending.back();
            pending.pop_back();
        }
        if (item == nullptr) break;
        text[0] = 0;
        TVITEMW query = {};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = text.data();
        query.cchTextMax = longestItem;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
        text[longestItem - 1] = 0;
        // A control may point pszText at text of its own.
        lines.push_back({static_cast<int>(pending.size()), query.pszText ? std::u16string(query.pszText) : std::u16string()});
        const HTREEITEM child = nextItem(tree, TVGN_CHILD, item);
        const HTREEITEM sibling = nextItem(tree, TVGN_NEXT, item);
        if (child != nullptr) {
            pending.push_back(sibling);
            item = child;
        } else {
            item = sibling;
        }
    }
    return lines;
}

}  // namespace

HWND findWindow(std::u16string_view windowClass, std::u16string_view caption)
{
    WindowSearch search{windowClass, caption};
    EnumWindows(visitTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findControl(HWND parent, int controlId)
{
    WindowSearch search;
    search.controlId = controlId;
    search.byId = true;
    EnumChildWindows(parent, visitChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::u16string windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::u16string className(HWND window)
{
    WCHAR name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::u16string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::vector<std::u16string> listBoxLines(HWND listBox)
{
    return itemLines(listBox, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::u16string> comboBoxLines(HWND comboBox)
{
    return itemLines(comboBox, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

std::vector<TreeLine> treeViewLines(HWND treeView) { return walkTree(treeView); }

}  // namespace driver
