// The lines of list and combo boxes and the items of tree views, read through the controls'
// own messages.
#include "platform/testing/windows.h"

#include "win32/commctrl.h"
#include "win32/controls.h"

namespace driver {

namespace {

// Longest item text read; the programs' own limits are far below.
constexpr int longestItem = 4096;

// The messages that read one kind of list.
struct ListMessages {
    UINT count;
    UINT length;
    UINT text;
    UINT data;
};

constexpr ListMessages listBoxMessages = {LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_GETITEMDATA};
constexpr ListMessages comboBoxMessages = {CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETITEMDATA};

std::u16string lineText(HWND window, const ListMessages& messages, WPARAM index)
{
    const LRESULT length = SendMessageW(window, messages.length, index, 0);
    if (length <= 0 || length > longestItem) return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const LRESULT copied = SendMessageW(window, messages.text, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 && copied <= length ? static_cast<size_t>(copied) : 0);
    return text;
}

// `selected` tells whether a line is chosen. A line that cannot be read is left empty.
template <typename Selected>
std::vector<ListLineDump> listLines(HWND window, const ListMessages& messages, Selected selected)
{
    std::vector<ListLineDump> lines;
    const LRESULT count = SendMessageW(window, messages.count, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto index = static_cast<WPARAM>(i);
        const LRESULT data = SendMessageW(window, messages.data, index, 0);
        lines.push_back({lineText(window, messages, index), data, selected(i)});
    }
    return lines;
}

HTREEITEM nextItem(HWND tree, UINT relation, HTREEITEM item)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

std::vector<ListLineDump> listBoxItems(HWND listBox)
{
    return listLines(listBox, listBoxMessages,
                     [listBox](LRESULT i) { return SendMessageW(listBox, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0; });
}

std::vector<ListLineDump> comboBoxItems(HWND comboBox)
{
    const LRESULT chosen = SendMessageW(comboBox, CB_GETCURSEL, 0, 0);
    return listLines(comboBox, comboBoxMessages, [chosen](LRESULT i) { return i == chosen; });
}

// Depth first without recursion and with one text buffer, so that a deep tree cannot exhaust
// the stack; bounded so that a tree whose links run in a circle cannot hold the test forever.
std::vector<TreeItemDump> treeViewItems(HWND treeView, bool shownOnly)
{
    constexpr size_t mostItems = 100000;
    std::vector<TreeItemDump> items;
    std::vector<WCHAR> text(longestItem);
    // The item to visit next at each depth below the current one.
    std::vector<HTREEITEM> pending;
    HTREEITEM item = nextItem(treeView, TVGN_ROOT, nullptr);
    while (items.size() < mostItems) {
        while (item == nullptr && !pending.empty()) {
            item = pending.back();
            pending.pop_back();
        }
        if (item == nullptr) break;
        text[0] = 0;
        TVITEMW query = {};
        query.mask = TVIF_TEXT | TVIF_STATE;
        query.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
        query.hItem = item;
        query.pszText = text.data();
        query.cchTextMax = longestItem;
        SendMessageW(treeView, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
        text[longestItem - 1] = 0;
        const bool expanded = (query.state & TVIS_EXPANDED) != 0;
        // A control may point pszText at text of its own.
        items.push_back({query.pszText ? std::u16string(query.pszText) : std::u16string(),
                         static_cast<int>(pending.size()), expanded, (query.state & TVIS_SELECTED) != 0});
        const HTREEITEM child = shownOnly && !expanded ? nullptr : nextItem(treeView, TVGN_CHILD, item);
        const HTREEITEM sibling = nextItem(treeView, TVGN_NEXT, item);
        if (child != nullptr) {
            pending.push_back(sibling);
            item = child;
        } else {
            item = sibling;
        }
    }
    return items;
}

}  // namespace driver
