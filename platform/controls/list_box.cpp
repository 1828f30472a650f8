// LISTBOX: lines of text with item data, optionally sorted (the device's case-insensitive
// order), in one column or several, with scroll bars drawn inside the box. A tap selects a line
// and, with LBS_NOTIFY, reports LBN_SELCHANGE even when the line was already selected, as the
// device does; a second tap on the same line soon after is LBN_DBLCLK. Dragging the stylus
// scrolls; a bar's arrows, track and thumb work as usual.
#include "platform/controls/control_base.h"
#include "platform/controls/control_classes.h"
#include "platform/controls/control_limits.h"
#include "platform/controls/list_link.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/text_order.h"
#include "platform/kernel/text.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace controls {
namespace {

constexpr int textPadding = 2;
constexpr DWORD doubleTapMs = 500;

// A line's text lies in the list's one text store: a list of thousands of lines is not thousands
// of allocations.
struct ListItem {
    size_t start = 0;
    size_t length = 0;
    ULONG_PTR data = 0;
};

enum class StylusMode { none, tap, drag, vertical, horizontal };

struct ListLayout {
    RECT items{};
    ScrollBar vertical;
    ScrollBar horizontal;
    int rows = 1;  // whole lines per column
    bool multiColumn = false;
    int visibleColumns = 1;
    // The vertical bar's thumb, worked out with the layout: a list filled line by line compares
    // it with the one after each line instead of working both out again.
    RECT verticalThumb{};
};

// What a layout is worked out from: the list's size, style, lines, scroll positions and measures.
struct LayoutInputs {
    int clientLeft = 0;
    int clientTop = 0;
    int clientRight = 0;
    int clientBottom = 0;
    LONG style = 0;
    int count = -1;
    int top = 0;
    int hOffset = 0;
    int extent = 0;
    int itemHeight = 0;
    int columnWidth = 0;
    bool operator==(const LayoutInputs&) const = default;
};

struct ListState {
    std::vector<ListItem> items;
    std::u16string texts;  // every line's text, one after another
    size_t deadTexts = 0;  // of deleted lines, until the store is packed again
    int selected = -1;
    int top = 0;          // first visible line (multi-column: first line of the first visible column)
    int hOffset = 0;      // single column: pixels hidden at the left
    int itemHeight = 0;   // 0 until measured from the font
    int columnWidth = 0;  // multi-column
    int horizontalExtent = 0;
    HFONT font = nullptr;
    bool focused = false;
    HWND combo = nullptr;  // the combo box this list drops down for
    // The layout worked out last: a list filled line by line asks for it with every line.
    LayoutInputs layoutInputs;
    ListLayout layout;

    StylusMode mode = StylusMode::none;
    POINT down{};
    int downTop = 0;
    int downOffset = 0;
    int downItem = -1;
    bool downWasDouble = false;
    ScrollDrag barDrag;
    int lastTapItem = -1;
    DWORD lastTapTime = 0;
};

LONG listStyle(HWND window)
{
    return windowStyle(window);
}

int itemHeightOf(HWND window, ListState& s)
{
    if (s.itemHeight <= 0) {
        HDC dc = GetDC(window);
        HGDIOBJ old = SelectObject(dc, fontOrStandard(s.font));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(window, dc);
        s.itemHeight = std::max<int>(metrics.tmHeight, 8);
    }
    return s.itemHeight;
}

int columnWidthOf(HWND window, ListState& s)
{
    if (s.columnWidth <= 0)
        s.columnWidth = 8 * itemHeightOf(window, s);
    return s.columnWidth;
}

int count(const ListState& s)
{
    return static_cast<int>(s.items.size());
}

std::u16string_view textOf(const ListState& s, const ListItem& item)
{
    return std::u16string_view(s.texts).substr(item.start, item.length);
}

std::u16string_view textAt(const ListState& s, size_t index)
{
    return textOf(s, s.items[index]);
}

LayoutInputs layoutInputsOf(const RECT& client, LONG style, const ListState& s)
{
    return LayoutInputs{client.left, client.top, client.right, client.bottom, style, count(s), s.top, s.hOffset,
                        s.horizontalExtent, s.itemHeight, s.columnWidth};
}

// `style` is the list's window style, read once by a caller that needs it too.
ListLayout layoutOf(HWND window, ListState& s, LONG style)
{
    RECT client{};
    GetClientRect(window, &client);
    int height = itemHeightOf(window, s);
    if (layoutInputsOf(client, style, s) == s.layoutInputs)
        return s.layout;
    ListLayout layout;
    bool keepBars = (style & LBS_DISABLENOSCROLL) != 0;
    layout.multiColumn = (style & LBS_MULTICOLUMN) != 0;
    layout.vertical.vertical = true;
    layout.horizontal.vertical = false;

    bool showV = false;
    bool showH = false;
    // Two passes: each bar takes room that may make the other one necessary.
    for (int pass = 0; pass < 2; ++pass) {
        int width = client.right - client.left - (showV ? scrollBarSize : 0);
        int areaHeight = client.bottom - client.top - (showH ? scrollBarSize : 0);
        int rows = std::max(1, areaHeight / height);
        if (layout.multiColumn) {
            int columns = (count(s) + rows - 1) / rows;
            int visible = std::max(1, width / columnWidthOf(window, s));
            showH = (style & WS_HSCROLL) && (columns > visible || keepBars);
            showV = false;
        } else {
            showV = (style & WS_VSCROLL) && (count(s) > rows || keepBars);
            showH = (style & WS_HSCROLL) && (s.horizontalExtent > width || keepBars);
        }
    }
    layout.items = client;
    if (showV)
        layout.items.right -= scrollBarSize;
    if (showH)
        layout.items.bottom -= scrollBarSize;
    int itemsWidth = std::max<int>(0, layout.items.right - layout.items.left);
    layout.rows = std::max<int>(1, (layout.items.bottom - layout.items.top) / height);
    layout.visibleColumns = std::max(1, itemsWidth / columnWidthOf(window, s));

    layout.vertical.shown = showV;
    layout.vertical.rect = RECT{layout.items.right, client.top, client.right, layout.items.bottom};
    setScrollRange(layout.vertical, 0, count(s) - 1, layout.rows);
    layout.vertical.position = s.top;
    layout.verticalThumb = thumbRect(layout.vertical);

    layout.horizontal.shown = showH;
    layout.horizontal.rect = RECT{client.left, layout.items.bottom, layout.items.right, client.bottom};
    if (layout.multiColumn) {
        int columns = (count(s) + layout.rows - 1) / layout.rows;
        setScrollRange(layout.horizontal, 0, columns - 1, layout.visibleColumns);
        layout.horizontal.position = s.top / layout.rows;
    } else {
        setScrollRange(layout.horizontal, 0, std::max(0, s.horizontalExtent - 1), std::max(1, itemsWidth));
        layout.horizontal.position = s.hOffset;
    }
    s.layoutInputs = layoutInputsOf(client, style, s);
    s.layout = layout;
    return layout;
}

ListLayout layoutOf(HWND window, ListState& s)
{
    return layoutOf(window, s, listStyle(window));
}

// The highest first line: the last page is full (the device does not scroll past the end).
int lastTop(const ListLayout& layout, const ListState& s)
{
    if (layout.multiColumn) {
        int columns = (count(s) + layout.rows - 1) / layout.rows;
        return std::max(0, columns - layout.visibleColumns) * layout.rows;
    }
    return std::max(0, count(s) - layout.rows);
}

bool setTop(HWND window, ListState& s, int top)
{
    ListLayout layout = layoutOf(window, s);
    if (layout.multiColumn)
        top = top / layout.rows * layout.rows;
    top = std::clamp(top, 0, lastTop(layout, s));
    if (top == s.top)
        return false;
    s.top = top;
    InvalidateRect(window, nullptr, TRUE);
    return true;
}

void setHorizontalOffset(HWND window, ListState& s, int offset)
{
    ListLayout layout = layoutOf(window, s);
    int width = layout.items.right - layout.items.left;
    offset = std::clamp(offset, 0, std::max(0, s.horizontalExtent - width));
    if (offset != s.hOffset) {
        s.hOffset = offset;
        InvalidateRect(window, nullptr, TRUE);
    }
}

void ensureVisible(HWND window, ListState& s, int index)
{
    if (index < 0 || index >= count(s))
        return;
    ListLayout layout = layoutOf(window, s);
    int perPage = layout.multiColumn ? layout.rows * layout.visibleColumns : layout.rows;
    if (index < s.top)
        setTop(window, s, layout.multiColumn ? index : index);
    else if (index >= s.top + perPage)
        setTop(window, s, layout.multiColumn ? (index / layout.rows - layout.visibleColumns + 1) * layout.rows
                                             : index - layout.rows + 1);
}

RECT itemRect(HWND window, ListState& s, const ListLayout& layout, int index)
{
    int height = itemHeightOf(window, s);
    RECT r{};
    if (layout.multiColumn) {
        int column = index / layout.rows - s.top / layout.rows;
        int row = index % layout.rows;
        int width = columnWidthOf(window, s);
        r.left = layout.items.left + column * width;
        r.right = r.left + width;
        r.top = layout.items.top + row * height;
    } else {
        r.left = layout.items.left - s.hOffset;
        r.right = layout.items.right;
        r.top = layout.items.top + (index - s.top) * height;
    }
    r.bottom = r.top + height;
    return r;
}

int itemAt(HWND window, ListState& s, POINT point)
{
    ListLayout layout = layoutOf(window, s);
    if (!PtInRect(&layout.items, point))
        return -1;
    int height = itemHeightOf(window, s);
    int row = (point.y - layout.items.top) / height;
    int index;
    if (layout.multiColumn) {
        if (row >= layout.rows)
            return -1;
        int column = (point.x - layout.items.left) / columnWidthOf(window, s);
        index = s.top + column * layout.rows + row;
    } else {
        index = s.top + row;
    }
    return index < count(s) ? index : -1;
}

void notify(HWND window, ListState& s, int code)
{
    if (s.combo != nullptr) {
        SendMessageW(s.combo, WM_COMMAND, MAKEWPARAM(controlId(window), code), reinterpret_cast<LPARAM>(window));
        return;
    }
    if (code == LBN_ERRSPACE || (listStyle(window) & LBS_NOTIFY))
        notifyCommand(window, code);
}

// ---- items ---------------------------------------------------------------------------------

std::u16string_view textOf(LPARAM lParam)
{
    auto text = reinterpret_cast<LPCWSTR>(lParam);
    return text != nullptr ? std::u16string_view(text, kernel::textLength(text)) : std::u16string_view();
}

// Drops the texts of deleted lines once they are most of the store.
void packTexts(ListState& s)
{
    if (s.deadTexts < 4096 || s.deadTexts < s.texts.size() / 2)
        return;
    std::u16string packed;
    packed.reserve(s.texts.size() - s.deadTexts);
    for (ListItem& item : s.items) {
        const size_t start = packed.size();
        packed.append(s.texts, item.start, item.length);
        item.start = start;
    }
    s.texts = std::move(packed);
    s.deadTexts = 0;
}

// Where a sorted list puts a new line: after every line that does not sort after it.
int sortedPosition(const ListState& s, std::u16string_view text)
{
    auto at = std::upper_bound(s.items.begin(), s.items.end(), text, [&s](std::u16string_view t, const ListItem& item) {
        return compareListText(t, textOf(s, item)) < 0;
    });
    return static_cast<int>(at - s.items.begin());
}

// The layout once a line has been added. In a single column whose vertical bar shows already,
// one line more changes only the bar's range: the layout is not worked out again.
ListLayout layoutAfterInsert(HWND window, ListState& s, LONG style, const ListLayout& before)
{
    if (before.multiColumn || !before.vertical.shown)
        return layoutOf(window, s, style);
    ListLayout after = before;
    setScrollRange(after.vertical, 0, count(s) - 1, after.rows);
    after.vertical.position = s.top;
    after.verticalThumb = thumbRect(after.vertical);
    // `before` was the remembered layout: it stays remembered for the list as it is now.
    s.layoutInputs.count = count(s);
    s.layout = after;
    return after;
}

bool sameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Draws again only what changed of a bar.
void invalidateBarChange(HWND window, const ScrollBar& before, const ScrollBar& after)
{
    const RECT changed = changedScrollBarPart(before, after);
    if (changed.left < changed.right && changed.top < changed.bottom)
        InvalidateRect(window, &changed, FALSE);
}

// The lines keep their place when a bar appears or goes: the bars lie along the right and bottom
// edges, and the first line and the offset stay. Only the bars, their corner and a strip a bar
// leaves are drawn again; the lines' pixels inside the new area are the ones they had.
void invalidateBarsChange(HWND window, const ListLayout& before, const ListLayout& after)
{
    const ScrollBar& was = before.vertical;
    const ScrollBar& is = after.vertical;
    const bool verticalLooksSame = was.shown == is.shown && sameRect(was.rect, is.rect) &&
                                   canScroll(was) == canScroll(is) &&
                                   sameRect(before.verticalThumb, after.verticalThumb);
    if (!verticalLooksSame)
        invalidateBarChange(window, was, is);
    invalidateBarChange(window, before.horizontal, after.horizontal);
    if (after.vertical.shown && after.horizontal.shown &&
        !(before.vertical.shown && before.horizontal.shown && sameRect(before.items, after.items))) {
        RECT corner{after.items.right, after.items.bottom, after.vertical.rect.right, after.horizontal.rect.bottom};
        InvalidateRect(window, &corner, FALSE);
    }
}

// A list that widens its extent as it is filled (its widest line so far) redraws its lines only
// when they move, when the offset changes; otherwise only what changed of the bars.
void setHorizontalExtent(HWND window, ListState& s, int extent)
{
    if (extent == s.horizontalExtent)
        return;
    const ListLayout before = layoutOf(window, s);
    s.horizontalExtent = extent;
    setHorizontalOffset(window, s, s.hOffset);
    invalidateBarsChange(window, before, layoutOf(window, s));
}

LRESULT insertItem(HWND window, ListState& s, LONG style, int index, std::u16string_view text)
{
    if (index < -1 || index > count(s))
        return LB_ERR;
    if (count(s) >= emu::listCapacity()) {
        notify(window, s, LBN_ERRSPACE);
        return LB_ERRSPACE;
    }
    if (index == -1)
        index = count(s);
    const ListLayout before = layoutOf(window, s, style);
    s.items.insert(s.items.begin() + index, ListItem{s.texts.size(), text.size(), 0});
    s.texts.append(text);
    if (s.selected >= index)
        ++s.selected;
    // The line tapped last has moved: a tap on whatever is there now is no double tap.
    s.lastTapItem = -1;
    // A line added below the last one shown (a long list filled while it paints) changes at most
    // the scroll bar, and only when its thumb moves or grows by a pixel: the list's lines are not
    // drawn again, and while the thumb stays put nothing is.
    // A line added among the shown ones moves only the lines from it down, and one added last
    // (a list filled while it paints) draws only itself.
    const bool belowShown = !before.multiColumn && index > s.top + before.rows;
    const bool amongShown = !before.multiColumn && index >= s.top && !belowShown;
    const ListLayout after = layoutAfterInsert(window, s, style, before);
    if (!belowShown && !amongShown) {
        InvalidateRect(window, nullptr, TRUE);
        return index;
    }
    if (amongShown) {
        // Below the last line there is only background: a line added last draws itself alone.
        RECT moved = after.items;
        const RECT line = itemRect(window, s, after, index);
        moved.top = line.top;
        if (index == count(s) - 1)
            moved.bottom = std::min(moved.bottom, line.bottom);
        InvalidateRect(window, &moved, TRUE);
    }
    invalidateBarsChange(window, before, after);
    return index;
}

LRESULT addString(HWND window, ListState& s, LPARAM lParam)
{
    const std::u16string_view text = textOf(lParam);
    const LONG style = listStyle(window);
    int index = (style & LBS_SORT) ? sortedPosition(s, text) : count(s);
    return insertItem(window, s, style, index, text);
}

LRESULT deleteString(HWND window, ListState& s, WPARAM wParam)
{
    int index = static_cast<int>(wParam);
    if (index < 0 || index >= count(s))
        return LB_ERR;
    s.deadTexts += s.items[static_cast<size_t>(index)].length;
    s.items.erase(s.items.begin() + index);
    packTexts(s);
    s.lastTapItem = -1;
    if (s.selected == index)
        s.selected = -1;
    else if (s.selected > index)
        --s.selected;
    ListLayout layout = layoutOf(window, s);
    s.top = std::clamp(s.top, 0, lastTop(layout, s));
    InvalidateRect(window, nullptr, TRUE);
    return count(s);
}

void resetContent(HWND window, ListState& s)
{
    s.items.clear();
    s.texts.clear();
    s.deadTexts = 0;
    s.selected = -1;
    s.top = 0;
    s.hOffset = 0;
    s.lastTapItem = -1;
    InvalidateRect(window, nullptr, TRUE);
}

LRESULT setCurrentSelection(HWND window, ListState& s, WPARAM wParam)
{
    int index = static_cast<int>(static_cast<LONG_PTR>(wParam));
    if (index >= count(s) || index < -1)
        return LB_ERR;  // an index past the list changes nothing
    if (index == -1) {
        // As on the device: -1 clears the selection and still answers LB_ERR.
        if (s.selected != -1) {
            s.selected = -1;
            InvalidateRect(window, nullptr, TRUE);
        }
        return LB_ERR;
    }
    if (s.selected != index) {
        s.selected = index;
        InvalidateRect(window, nullptr, TRUE);
    }
    ensureVisible(window, s, index);
    return index;
}

// Searches from the line after `start` round to `start` itself.
LRESULT findString(const ListState& s, WPARAM wParam, LPARAM lParam, bool exact)
{
    if (s.items.empty() || lParam == 0)
        return LB_ERR;
    const std::u16string_view text = textOf(lParam);
    int start = static_cast<int>(static_cast<LONG_PTR>(wParam));
    if (start < -1 || start >= count(s))
        start = -1;
    for (int step = 1; step <= count(s); ++step) {
        int index = (start + step) % count(s);
        const std::u16string_view line = textAt(s, static_cast<size_t>(index));
        if (exact ? equalsIgnoringCase(line, text) : startsWithIgnoringCase(line, text))
            return index;
    }
    return LB_ERR;
}

bool validIndex(const ListState& s, WPARAM wParam)
{
    auto index = static_cast<LONG_PTR>(wParam);
    return index >= 0 && index < count(s);
}

LRESULT getText(const ListState& s, WPARAM wParam, LPARAM lParam)
{
    if (!validIndex(s, wParam) || lParam == 0)
        return LB_ERR;
    const std::u16string_view text = textAt(s, wParam);
    auto buffer = reinterpret_cast<LPWSTR>(lParam);
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = u'\0';
    return static_cast<LRESULT>(text.size());
}

LRESULT getItemRect(HWND window, ListState& s, WPARAM wParam, LPARAM lParam)
{
    if (!validIndex(s, wParam) || lParam == 0)
        return LB_ERR;
    ListLayout layout = layoutOf(window, s);
    *reinterpret_cast<RECT*>(lParam) = itemRect(window, s, layout, static_cast<int>(wParam));
    return 0;
}

// ---- user actions --------------------------------------------------------------------------

void selectByUser(HWND window, ListState& s, int index)
{
    if (index < 0 || index >= count(s))
        return;
    bool changed = s.selected != index;
    s.selected = index;
    ensureVisible(window, s, index);
    if (changed)
        InvalidateRect(window, nullptr, TRUE);
}

void keyDown(HWND window, ListState& s, WPARAM key)
{
    if (s.items.empty())
        return;
    ListLayout layout = layoutOf(window, s);
    int page = layout.multiColumn ? layout.rows * layout.visibleColumns : layout.rows;
    int current = s.selected;
    int target = current;
    switch (key) {
    case VK_UP:
        target = current < 0 ? 0 : current - 1;
        break;
    case VK_DOWN:
        target = current < 0 ? 0 : current + 1;
        break;
    case VK_LEFT:
        target = current < 0 ? 0 : current - (layout.multiColumn ? layout.rows : 1);
        break;
    case VK_RIGHT:
        target = current < 0 ? 0 : current + (layout.multiColumn ? layout.rows : 1);
        break;
    case VK_PRIOR:
        target = current < 0 ? 0 : current - page + 1;
        break;
    case VK_NEXT:
        target = current < 0 ? 0 : current + page - 1;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = count(s) - 1;
        break;
    default:
        return;
    }
    target = std::clamp(target, 0, count(s) - 1);
    if (target == current)
        return;
    selectByUser(window, s, target);
    notify(window, s, LBN_SELCHANGE);
}

void typedCharacter(HWND window, ListState& s, WCHAR ch)
{
    if (ch < 0x20)
        return;
    char16_t one[2] = {ch, 0};
    LRESULT found = findString(s, static_cast<WPARAM>(s.selected), reinterpret_cast<LPARAM>(one), false);
    if (found == LB_ERR || found == s.selected)
        return;
    selectByUser(window, s, static_cast<int>(found));
    notify(window, s, LBN_SELCHANGE);
}

// Moves to what a bar's position stands for: the first line, the first column or the pixel offset.
void scrollToBarPosition(HWND window, ListState& s, const ListLayout& layout, const ScrollBar& bar, int position)
{
    if (bar.vertical)
        setTop(window, s, position);
    else if (layout.multiColumn)
        setTop(window, s, position * layout.rows);
    else
        setHorizontalOffset(window, s, position);
}

void repeatBarStep(HWND window, ListState& s)
{
    KillTimer(window, scrollRepeatTimer);
    if (s.mode != StylusMode::vertical && s.mode != StylusMode::horizontal)
        return;
    ListLayout layout = layoutOf(window, s);
    const ScrollBar& bar = s.mode == StylusMode::vertical ? layout.vertical : layout.horizontal;
    int position = 0;
    if (repeatedStep(bar, s.barDrag, position))
        scrollToBarPosition(window, s, layout, bar, position);
    SetTimer(window, scrollRepeatTimer, scrollRepeatNextMs, nullptr);
}

void stylusDown(HWND window, ListState& s, POINT point, bool doubleClick)
{
    if (s.combo == nullptr && GetFocus() != window)
        SetFocus(window);
    SetCapture(window);
    s.down = point;
    s.downTop = s.top;
    s.downOffset = s.hOffset;
    ListLayout layout = layoutOf(window, s);
    for (ScrollBar* bar : {&layout.vertical, &layout.horizontal}) {
        ScrollHit hit = beginScrollDrag(*bar, s.barDrag, point);
        if (hit == ScrollHit::none)
            continue;
        s.mode = bar->vertical ? StylusMode::vertical : StylusMode::horizontal;
        if (hit != ScrollHit::thumb) {
            scrollToBarPosition(window, s, layout, *bar, stepPosition(*bar, hit));
            SetTimer(window, scrollRepeatTimer, scrollRepeatFirstMs, nullptr);
        }
        return;
    }
    s.mode = StylusMode::tap;
    s.downItem = itemAt(window, s, point);
    DWORD now = static_cast<DWORD>(GetMessageTime());
    s.downWasDouble = doubleClick ||
                      (s.downItem >= 0 && s.downItem == s.lastTapItem && now - s.lastTapTime <= doubleTapMs);
}

void stylusMove(HWND window, ListState& s, POINT point)
{
    if (s.mode == StylusMode::tap && movedBeyondTap(s.down, point))
        s.mode = StylusMode::drag;
    ListLayout layout = layoutOf(window, s);
    if (s.mode == StylusMode::drag) {
        int height = itemHeightOf(window, s);
        if (layout.multiColumn) {
            int columns = (s.down.x - point.x) / columnWidthOf(window, s);
            setTop(window, s, s.downTop + columns * layout.rows);
        } else {
            setTop(window, s, s.downTop + (s.down.y - point.y) / height);
            if (s.horizontalExtent > 0)
                setHorizontalOffset(window, s, s.downOffset + (s.down.x - point.x));
        }
    } else if (s.mode == StylusMode::vertical || s.mode == StylusMode::horizontal) {
        s.barDrag.stylus = point;
        if (s.barDrag.part == ScrollHit::thumb) {
            const ScrollBar& bar = s.mode == StylusMode::vertical ? layout.vertical : layout.horizontal;
            scrollToBarPosition(window, s, layout, bar, thumbDragPosition(bar, s.barDrag, point));
        }
    }
}

void stylusUp(HWND window, ListState& s, POINT point)
{
    StylusMode mode = s.mode;
    s.mode = StylusMode::none;
    KillTimer(window, scrollRepeatTimer);
    if (GetCapture() == window)
        ReleaseCapture();
    if (mode == StylusMode::tap) {
        RECT client{};
        GetClientRect(window, &client);
        int item = itemAt(window, s, point);
        if (s.combo != nullptr && !PtInRect(&client, point)) {
            notify(window, s, LBN_SELCANCEL);
            return;
        }
        if (item >= 0 && item == s.downItem) {
            selectByUser(window, s, item);
            bool doubleTap = s.downWasDouble;
            s.lastTapItem = doubleTap ? -1 : item;
            s.lastTapTime = static_cast<DWORD>(GetMessageTime());
            notify(window, s, LBN_SELCHANGE);
            if (doubleTap && IsWindow(window))
                notify(window, s, LBN_DBLCLK);
            return;
        }
    }
    // A dropped list keeps the stylus until the combo box closes it.
    if (s.combo != nullptr && IsWindowVisible(window))
        SetCapture(window);
}

// ---- painting ------------------------------------------------------------------------------

void paintLines(HWND window, HDC dc, ListState& s, const ListLayout& layout, HBRUSH background, COLORREF textColour)
{
    FillRect(dc, &layout.items, background);
    HGDIOBJ oldFont = SelectObject(dc, fontOrStandard(s.font));
    SetBkMode(dc, TRANSPARENT);
    int perPage = layout.multiColumn ? layout.rows * (layout.visibleColumns + 1) : layout.rows + 1;
    for (int index = s.top; index < count(s) && index < s.top + perPage; ++index) {
        RECT line = itemRect(window, s, layout, index);
        RECT visible{};
        if (!IntersectRect(&visible, &line, &layout.items) || !RectVisible(dc, &visible))
            continue;
        bool selected = index == s.selected;
        if (selected) {
            RECT band = visible;
            if (!layout.multiColumn)
                band.left = layout.items.left;
            fillSolid(dc, band, selectionColour());
        }
        SetTextColor(dc, selected ? selectionTextColour() : textColour);
        RECT textRect = line;
        textRect.left += textPadding;
        const std::u16string_view text = textAt(s, static_cast<size_t>(index));
        ExtTextOutW(dc, textRect.left, textRect.top + 1, ETO_CLIPPED, &visible, reinterpret_cast<LPCWSTR>(text.data()),
                    static_cast<UINT>(text.size()), nullptr);
    }
    SelectObject(dc, oldFont);
}

void paintList(HWND window, ListState& s)
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    bool enabled = IsWindowEnabled(window);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    HBRUSH background = askColours(s.combo != nullptr ? s.combo : window, dc, WM_CTLCOLORLISTBOX,
                                   GetSysColorBrush(COLOR_WINDOW));
    ListLayout layout = layoutOf(window, s);
    // Only what meets the part being repainted is drawn: a moved thumb draws the thumb alone, and
    // the lines are drawn only where they were uncovered or moved.
    if (RectVisible(dc, &layout.items))
        paintLines(window, dc, s, layout, background, enabled ? GetTextColor(dc) : disabledTextColour());
    drawScrollBar(dc, layout.vertical);
    drawScrollBar(dc, layout.horizontal);
    if (layout.vertical.shown && layout.horizontal.shown) {
        RECT corner{layout.items.right, layout.items.bottom, client.right, client.bottom};
        if (RectVisible(dc, &corner))
            fillSolid(dc, corner, RGB(214, 214, 214));
    }
    EndPaint(window, &paint);
}

}  // namespace

LRESULT CALLBACK listProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ListState* s = nullptr;
    if (std::optional<LRESULT> answered = answerCommonMessage(window, message, wParam, lParam, s))
        return *answered;
    switch (message) {
    case WM_PAINT:
        paintList(window, *s);
        return 0;
    case WM_SIZE:
        setTop(window, *s, s->top);
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        s->itemHeight = 0;
        if (LOWORD(lParam))
            InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_ENABLE:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_SETFOCUS:
        s->focused = true;
        notify(window, *s, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        notify(window, *s, LBN_KILLFOCUS);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        keyDown(window, *s, wParam);
        return 0;
    case WM_CHAR:
        typedCharacter(window, *s, static_cast<WCHAR>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        stylusDown(window, *s, pointFromLParam(lParam), message == WM_LBUTTONDBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        if (s->mode != StylusMode::none)
            stylusMove(window, *s, pointFromLParam(lParam));
        return 0;
    case WM_LBUTTONUP:
        if (s->mode != StylusMode::none)
            stylusUp(window, *s, pointFromLParam(lParam));
        else if (s->combo != nullptr)
            stylusUp(window, *s, pointFromLParam(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window) {
            s->mode = StylusMode::none;
            KillTimer(window, scrollRepeatTimer);
        }
        return 0;
    case WM_TIMER:
        if (wParam == scrollRepeatTimer)
            repeatBarStep(window, *s);
        return 0;
    case WM_DESTROY:
        KillTimer(window, scrollRepeatTimer);
        break;

    case LB_ADDSTRING:
        return addString(window, *s, lParam);
    case LB_INSERTSTRING:
        return insertItem(window, *s, listStyle(window), static_cast<int>(static_cast<LONG_PTR>(wParam)),
                          textOf(lParam));
    case LB_DELETESTRING:
        return deleteString(window, *s, wParam);
    case LB_RESETCONTENT:
        resetContent(window, *s);
        return 0;
    case LB_GETCOUNT:
        return count(*s);
    case LB_GETTEXT:
        return getText(*s, wParam, lParam);
    case LB_GETTEXTLEN:
        return validIndex(*s, wParam) ? static_cast<LRESULT>(s->items[wParam].length) : LB_ERR;
    case LB_SETCURSEL:
        return setCurrentSelection(window, *s, wParam);
    case LB_GETCURSEL:
        return s->selected;
    case LB_GETSEL:
        return validIndex(*s, wParam) ? (static_cast<int>(wParam) == s->selected ? 1 : 0) : LB_ERR;
    case LB_SETTOPINDEX:
        if (!validIndex(*s, wParam) && !(wParam == 0 && s->items.empty()))
            return LB_ERR;
        setTop(window, *s, static_cast<int>(wParam));
        return 0;
    case LB_GETTOPINDEX:
        return s->top;
    case LB_FINDSTRING:
        return findString(*s, wParam, lParam, false);
    case LB_FINDSTRINGEXACT:
        return findString(*s, wParam, lParam, true);
    case LB_SELECTSTRING: {
        LRESULT found = findString(*s, wParam, lParam, false);
        return found == LB_ERR ? LB_ERR : setCurrentSelection(window, *s, static_cast<WPARAM>(found));
    }
    case LB_GETITEMDATA:
        return validIndex(*s, wParam) ? static_cast<LRESULT>(s->items[wParam].data) : LB_ERR;
    case LB_SETITEMDATA:
        if (!validIndex(*s, wParam))
            return LB_ERR;
        s->items[wParam].data = static_cast<ULONG_PTR>(lParam);
        return TRUE;
    case LB_SETCOLUMNWIDTH:
        s->columnWidth = static_cast<int>(wParam);
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case LB_SETHORIZONTALEXTENT:
        setHorizontalExtent(window, *s, static_cast<int>(wParam));
        return 0;
    case LB_GETHORIZONTALEXTENT:
        return s->horizontalExtent;
    case LB_GETITEMHEIGHT:
        return itemHeightOf(window, *s);
    case LB_SETITEMHEIGHT:
        if (LOWORD(lParam) == 0 || LOWORD(lParam) > 255)
            return LB_ERR;
        s->itemHeight = LOWORD(lParam);
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case LB_GETITEMRECT:
        return getItemRect(window, *s, wParam, lParam);
    case LB_ITEMFROMPOINT: {
        int item = itemAt(window, *s, pointFromLParam(lParam));
        return item >= 0 ? item : MAKELRESULT(std::max(0, count(*s) - 1), 1);
    }
    case listAttachCombo:
        s->combo = reinterpret_cast<HWND>(wParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace controls
