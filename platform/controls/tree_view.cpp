// SysTreeView32: a tree of text items with expand buttons and connecting lines, one selection,
// per-item custom drawing by the parent, and a vertical scroll bar drawn inside the control.
//
// Stylus, as on the device: the stylus going down asks the parent whether to recognise
// tap-and-hold (NM_RECOGNIZEGESTURE); held still for 500 ms it sends GN_CONTEXTMENU and the tap
// is over. A tap reports NM_CLICK when the stylus comes up and then, unless the parent answered
// the click with nonzero, selects the item under the stylus (TVN_SELCHANGING / TVN_SELCHANGED
// with TVC_BYMOUSE). Tapping the selected item again changes nothing. A tap on an expand button
// opens or closes the item without selecting it. Dragging scrolls.
//
// Item handles are numbers that are never reused while the control lives, so a stale handle is
// recognised and refused.
#include "platform/controls/control_base.h"
#include "platform/controls/control_classes.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/text_order.h"
#include "platform/kernel/text.h"
#include "win32/commctrl.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

namespace controls {
namespace {

constexpr UINT_PTR holdTimer = 1;
constexpr UINT holdMs = 500;
constexpr int leftMargin = 2;
constexpr int buttonHalf = 4;
constexpr int labelPadding = 2;

using ItemId = uintptr_t;

struct TreeNode {
    ItemId id = 0;
    ItemId parent = 0;  // 0: the invisible root
    std::vector<ItemId> children;
    std::u16string text;
    LPARAM lParam = 0;
    UINT state = 0;
    int childrenFlag = 0;  // cChildren as the program gave it
    int labelWidth = -1;   // measured at the last paint
};

struct VisibleRow {
    ItemId id;
    int level;
};

enum class StylusMode { none, tap, drag, scrollBar };

struct TreeState {
    std::unordered_map<ItemId, std::unique_ptr<TreeNode>> nodes;
    TreeNode root;
    ItemId nextId = 1;
    ItemId selected = 0;
    int topRow = 0;
    int itemHeight = 0;  // 0: from the font
    int fontHeight = 0;  // measured from the font, 0 until then
    int indent = 16;
    COLORREF textColour = CLR_INVALID;
    COLORREF backColour = CLR_INVALID;
    HFONT font = nullptr;
    bool focused = false;
    std::vector<VisibleRow> rows;
    bool rowsDirty = true;

    StylusMode mode = StylusMode::none;
    POINT down{};
    int downTop = 0;
    bool gestureWanted = false;
    bool gestureDone = false;
    ScrollDrag barDrag;
};

// ---- handles and structure -----------------------------------------------------------------

ItemId idOf(HTREEITEM item)
{
    return reinterpret_cast<ItemId>(item);
}

HTREEITEM handleOf(ItemId id)
{
    return reinterpret_cast<HTREEITEM>(id);
}

bool isRootHandle(HTREEITEM item)
{
    return item == nullptr || item == TVI_ROOT;
}

TreeNode* nodeOf(TreeState& s, ItemId id)
{
    auto found = s.nodes.find(id);
    return found != s.nodes.end() ? found->second.get() : nullptr;
}

TreeNode* nodeOf(TreeState& s, HTREEITEM item)
{
    return nodeOf(s, idOf(item));
}

// The root stands for TVI_ROOT and for no item.
TreeNode* parentNode(TreeState& s, const TreeNode& node)
{
    return node.parent == 0 ? &s.root : nodeOf(s, node.parent);
}

bool hasChildren(const TreeNode& node)
{
    return !node.children.empty() || node.childrenFlag > 0;
}

bool expanded(const TreeNode& node)
{
    return (node.state & TVIS_EXPANDED) != 0;
}

const std::vector<VisibleRow>& rowsOf(TreeState& s)
{
    if (!s.rowsDirty)
        return s.rows;
    s.rows.clear();
    struct Frame {
        const TreeNode* node;
        size_t next;
        int level;
    };
    std::vector<Frame> stack{{&s.root, 0, -1}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.node->children.size()) {
            stack.pop_back();
            continue;
        }
        const TreeNode* child = nodeOf(s, top.node->children[top.next++]);
        int level = top.level + 1;
        s.rows.push_back({child->id, level});
        if (expanded(*child) && !child->children.empty())
            stack.push_back({child, 0, level});
    }
    s.rowsDirty = false;
    return s.rows;
}

int rowOf(TreeState& s, ItemId id)
{
    const auto& rows = rowsOf(s);
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].id == id)
            return static_cast<int>(i);
    return -1;
}

bool hasNextSibling(TreeState& s, const TreeNode& node)
{
    const auto& siblings = parentNode(s, node)->children;
    return !siblings.empty() && siblings.back() != node.id;
}

bool isDescendant(TreeState& s, ItemId id, ItemId ancestor)
{
    for (TreeNode* n = nodeOf(s, id); n != nullptr; n = nodeOf(s, n->parent))
        if (n->parent == ancestor)
            return true;
    return false;
}

// ---- geometry ------------------------------------------------------------------------------

int itemHeightOf(HWND window, TreeState& s)
{
    if (s.itemHeight > 0)
        return s.itemHeight;
    if (s.fontHeight <= 0) {
        HDC dc = GetDC(window);
        s.fontHeight = lineHeight(dc, s.font) + 1;
        ReleaseDC(window, dc);
    }
    return s.fontHeight;
}

bool linesAtRoot(HWND window)
{
    return (windowStyle(window) & TVS_LINESATROOT) != 0;
}

// Centre of the column where an item of this level has its button and line joint.
int jointX(HWND window, const TreeState& s, int level)
{
    int columns = level + (linesAtRoot(window) ? 1 : 0);
    return leftMargin + columns * s.indent - s.indent / 2;
}

int labelX(HWND window, const TreeState& s, int level)
{
    return leftMargin + (level + (linesAtRoot(window) ? 1 : 0)) * s.indent;
}

struct TreeLayout {
    RECT items{};
    ScrollBar bar;
    int visibleRows = 1;
};

TreeLayout layoutOf(HWND window, TreeState& s)
{
    TreeLayout layout;
    RECT client{};
    GetClientRect(window, &client);
    int height = itemHeightOf(window, s);
    int rows = static_cast<int>(rowsOf(s).size());
    layout.items = client;
    layout.visibleRows = std::max<int>(1, (client.bottom - client.top) / height);
    bool showBar = !(windowStyle(window) & TVS_NOSCROLL) && rows > layout.visibleRows;
    if (showBar)
        layout.items.right -= scrollBarSize;
    layout.bar.vertical = true;
    layout.bar.shown = showBar;
    layout.bar.rect = RECT{layout.items.right, client.top, client.right, client.bottom};
    setScrollRange(layout.bar, 0, rows - 1, layout.visibleRows);
    layout.bar.position = s.topRow;
    return layout;
}

bool setTopRow(HWND window, TreeState& s, int top)
{
    TreeLayout layout = layoutOf(window, s);
    int rows = static_cast<int>(rowsOf(s).size());
    top = std::clamp(top, 0, std::max(0, rows - layout.visibleRows));
    if (top == s.topRow)
        return false;
    s.topRow = top;
    InvalidateRect(window, nullptr, TRUE);
    return true;
}

int measuredLabelWidth(HWND window, TreeState& s, TreeNode& node)
{
    if (node.labelWidth < 0) {
        HDC dc = GetDC(window);
        HGDIOBJ old = SelectObject(dc, fontOrStandard(s.font));
        node.labelWidth = textWidth(dc, node.text) + 2 * labelPadding;
        SelectObject(dc, old);
        ReleaseDC(window, dc);
    }
    return node.labelWidth;
}

void ensureVisible(HWND window, TreeState& s, ItemId id)
{
    for (TreeNode* n = nodeOf(s, nodeOf(s, id) != nullptr ? nodeOf(s, id)->parent : 0); n != nullptr;
         n = nodeOf(s, n->parent)) {
        if (!expanded(*n)) {
            n->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
            s.rowsDirty = true;
        }
    }
    int row = rowOf(s, id);
    if (row < 0)
        return;
    TreeLayout layout = layoutOf(window, s);
    if (row < s.topRow)
        setTopRow(window, s, row);
    else if (row >= s.topRow + layout.visibleRows)
        setTopRow(window, s, row - layout.visibleRows + 1);
    InvalidateRect(window, nullptr, TRUE);
}

UINT hitTest(HWND window, TreeState& s, POINT point, ItemId* hit)
{
    *hit = 0;
    RECT client{};
    GetClientRect(window, &client);
    UINT flags = 0;
    if (point.x < client.left)
        flags |= TVHT_TOLEFT;
    else if (point.x >= client.right)
        flags |= TVHT_TORIGHT;
    if (point.y < client.top)
        flags |= TVHT_ABOVE;
    else if (point.y >= client.bottom)
        flags |= TVHT_BELOW;
    if (flags != 0)
        return flags;
    const auto& rows = rowsOf(s);
    int row = s.topRow + (point.y - client.top) / itemHeightOf(window, s);
    if (row < 0 || row >= static_cast<int>(rows.size()))
        return TVHT_NOWHERE;
    TreeNode* node = nodeOf(s, rows[static_cast<size_t>(row)].id);
    int level = rows[static_cast<size_t>(row)].level;
    *hit = node->id;
    int joint = jointX(window, s, level);
    int label = labelX(window, s, level);
    bool buttons = (windowStyle(window) & TVS_HASBUTTONS) && hasChildren(*node) && (level > 0 || linesAtRoot(window));
    if (buttons && std::abs(point.x - joint) <= buttonHalf + 1)
        return TVHT_ONITEMBUTTON;
    if (point.x < label)
        return TVHT_ONITEMINDENT;
    if (point.x < label + measuredLabelWidth(window, s, *node))
        return TVHT_ONITEMLABEL;
    return TVHT_ONITEMRIGHT;
}

// ---- notifications -------------------------------------------------------------------------

void describe(TreeState& s, ItemId id, TVITEMW& item)
{
    item = TVITEMW{};
    TreeNode* node = nodeOf(s, id);
    item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    item.hItem = handleOf(id);
    if (node != nullptr) {
        item.state = node->state;
        item.stateMask = 0xFFFF;
        item.lParam = node->lParam;
    }
}

LRESULT notifyTree(HWND window, TreeState& s, UINT code, UINT action, ItemId oldItem, ItemId newItem)
{
    NMTREEVIEWW info{};
    info.action = action;
    describe(s, oldItem, info.itemOld);
    describe(s, newItem, info.itemNew);
    return notifyParent(window, info.hdr, code);
}

// ---- operations ----------------------------------------------------------------------------

bool selectItem(HWND window, TreeState& s, ItemId id, UINT action)
{
    if (id != 0 && nodeOf(s, id) == nullptr)
        return false;
    if (id == s.selected)
        return true;
    ItemId old = s.selected;
    if (notifyTree(window, s, TVN_SELCHANGINGW, action, old, id) != 0)
        return false;
    if (TreeNode* previous = nodeOf(s, old))
        previous->state &= ~static_cast<UINT>(TVIS_SELECTED);
    s.selected = id;
    if (TreeNode* chosen = nodeOf(s, id)) {
        chosen->state |= TVIS_SELECTED;
        ensureVisible(window, s, id);
    }
    InvalidateRect(window, nullptr, TRUE);
    notifyTree(window, s, TVN_SELCHANGEDW, action, old, id);
    return true;
}

bool expandItem(HWND window, TreeState& s, ItemId id, UINT code, bool byUser)
{
    TreeNode* node = nodeOf(s, id);
    if (node == nullptr)
        return false;
    UINT what = code & 3;
    bool open = what == TVE_TOGGLE ? !expanded(*node) : what == TVE_EXPAND;
    if (what == 0 || !hasChildren(*node))
        return false;
    if (open == expanded(*node))
        return true;
    // The program is told of its own expansions only the first time an item opens.
    bool tell = byUser || (open && !(node->state & TVIS_EXPANDEDONCE));
    UINT action = open ? TVE_EXPAND : TVE_COLLAPSE;
    if (tell && notifyTree(window, s, TVN_ITEMEXPANDINGW, action, 0, id) != 0)
        return false;
    node = nodeOf(s, id);
    if (node == nullptr)
        return false;
    if (open)
        node->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    else
        node->state &= ~static_cast<UINT>(TVIS_EXPANDED);
    s.rowsDirty = true;
    setTopRow(window, s, s.topRow);
    InvalidateRect(window, nullptr, TRUE);
    if (!open && s.selected != 0 && isDescendant(s, s.selected, id))
        selectItem(window, s, id, TVC_UNKNOWN);
    if (tell)
        notifyTree(window, s, TVN_ITEMEXPANDEDW, action, 0, id);
    return true;
}

void copyItemFields(TreeNode& node, const TVITEMW& item)
{
    if (item.mask & TVIF_TEXT) {
        node.text = (item.pszText != nullptr && item.pszText != LPSTR_TEXTCALLBACKW)
                        ? std::u16string(item.pszText, kernel::textLength(item.pszText))
                        : std::u16string();
        node.labelWidth = -1;
    }
    if (item.mask & TVIF_PARAM)
        node.lParam = item.lParam;
    if (item.mask & TVIF_STATE) {
        UINT changeable = item.stateMask & ~static_cast<UINT>(TVIS_SELECTED);
        node.state = (node.state & ~changeable) | (item.state & changeable);
    }
    if (item.mask & TVIF_CHILDREN)
        node.childrenFlag = item.cChildren;
}

HTREEITEM insertItem(HWND window, TreeState& s, const TVINSERTSTRUCTW* insert)
{
    if (insert == nullptr)
        return nullptr;
    TreeNode* parent = isRootHandle(insert->hParent) ? &s.root : nodeOf(s, insert->hParent);
    if (parent == nullptr)
        return nullptr;
    auto node = std::make_unique<TreeNode>();
    node->id = s.nextId++;
    node->parent = parent == &s.root ? 0 : parent->id;
    copyItemFields(*node, insert->item);
    node->state &= ~static_cast<UINT>(TVIS_SELECTED);

    auto& siblings = parent->children;
    size_t at = siblings.size();
    HTREEITEM after = insert->hInsertAfter;
    if (after == TVI_FIRST) {
        at = 0;
    } else if (after == TVI_SORT) {
        at = 0;
        while (at < siblings.size() && compareListText(nodeOf(s, siblings[at])->text, node->text) <= 0)
            ++at;
    } else if (after != TVI_LAST && after != nullptr) {
        auto found = std::find(siblings.begin(), siblings.end(), idOf(after));
        if (found != siblings.end())
            at = static_cast<size_t>(found - siblings.begin()) + 1;
    }
    ItemId id = node->id;
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(at), id);
    s.nodes.emplace(id, std::move(node));
    if (parent == &s.root || expanded(*parent))
        s.rowsDirty = true;
    InvalidateRect(window, nullptr, TRUE);
    return handleOf(id);
}

void deleteSubtree(HWND window, TreeState& s, ItemId id)
{
    TreeNode* node = nodeOf(s, id);
    if (node == nullptr)
        return;
    std::vector<ItemId> children = node->children;
    for (ItemId child : children)
        deleteSubtree(window, s, child);
    notifyTree(window, s, TVN_DELETEITEMW, 0, id, 0);
    if (s.selected == id)
        s.selected = 0;
    s.nodes.erase(id);
}

bool deleteItem(HWND window, TreeState& s, HTREEITEM item)
{
    if (isRootHandle(item)) {
        std::vector<ItemId> top = s.root.children;
        for (ItemId id : top)
            deleteSubtree(window, s, id);
        s.root.children.clear();
        s.selected = 0;
        s.topRow = 0;
    } else {
        TreeNode* node = nodeOf(s, item);
        if (node == nullptr)
            return false;
        TreeNode* parent = parentNode(s, *node);
        ItemId id = node->id;
        deleteSubtree(window, s, id);
        if (parent != nullptr)
            std::erase(parent->children, id);
    }
    s.rowsDirty = true;
    setTopRow(window, s, s.topRow);
    InvalidateRect(window, nullptr, TRUE);
    return true;
}

void sortChildren(TreeState& s, TreeNode& parent, bool recurse)
{
    std::stable_sort(parent.children.begin(), parent.children.end(), [&s](ItemId a, ItemId b) {
        return compareListText(nodeOf(s, a)->text, nodeOf(s, b)->text) < 0;
    });
    if (recurse)
        for (ItemId child : parent.children)
            sortChildren(s, *nodeOf(s, child), true);
    s.rowsDirty = true;
}

HTREEITEM nextItem(TreeState& s, UINT code, HTREEITEM item)
{
    TreeNode* node = isRootHandle(item) ? nullptr : nodeOf(s, item);
    const auto& rows = rowsOf(s);
    switch (code) {
    case TVGN_ROOT:
        return s.root.children.empty() ? nullptr : handleOf(s.root.children.front());
    case TVGN_CARET:
        return handleOf(s.selected);
    case TVGN_CHILD: {
        const TreeNode* parent = isRootHandle(item) ? &s.root : node;
        return parent != nullptr && !parent->children.empty() ? handleOf(parent->children.front()) : nullptr;
    }
    case TVGN_NEXT:
    case TVGN_PREVIOUS: {
        if (node == nullptr)
            return nullptr;
        const auto& siblings = parentNode(s, *node)->children;
        auto at = std::find(siblings.begin(), siblings.end(), node->id);
        if (code == TVGN_NEXT)
            return at + 1 < siblings.end() ? handleOf(*(at + 1)) : nullptr;
        return at != siblings.begin() ? handleOf(*(at - 1)) : nullptr;
    }
    case TVGN_PARENT:
        return node != nullptr && node->parent != 0 ? handleOf(node->parent) : nullptr;
    case TVGN_FIRSTVISIBLE:
        return s.topRow < static_cast<int>(rows.size()) ? handleOf(rows[static_cast<size_t>(s.topRow)].id) : nullptr;
    case TVGN_LASTVISIBLE:
        return rows.empty() ? nullptr : handleOf(rows.back().id);
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
        if (node == nullptr)
            return nullptr;
        int row = rowOf(s, node->id);
        if (row < 0)
            return nullptr;
        int target = code == TVGN_NEXTVISIBLE ? row + 1 : row - 1;
        return target >= 0 && target < static_cast<int>(rows.size()) ? handleOf(rows[static_cast<size_t>(target)].id)
                                                                        : nullptr;
    }
    default:
        return nullptr;
    }
}

BOOL getItem(TreeState& s, TVITEMW* item)
{
    if (item == nullptr)
        return FALSE;
    TreeNode* node = nodeOf(s, item->hItem);
    if (node == nullptr)
        return FALSE;
    if (item->mask & TVIF_TEXT)
        copyText(node->text, item->pszText, item->cchTextMax);
    if (item->mask & TVIF_STATE)
        item->state = item->stateMask != 0 ? (node->state & item->stateMask) : node->state;
    if (item->mask & TVIF_PARAM)
        item->lParam = node->lParam;
    if (item->mask & TVIF_CHILDREN)
        item->cChildren = hasChildren(*node) ? 1 : 0;
    return TRUE;
}

BOOL setItem(HWND window, TreeState& s, const TVITEMW* item)
{
    if (item == nullptr)
        return FALSE;
    TreeNode* node = nodeOf(s, item->hItem);
    if (node == nullptr)
        return FALSE;
    bool wasOpen = expanded(*node);
    copyItemFields(*node, *item);
    if (expanded(*node) != wasOpen)
        s.rowsDirty = true;
    InvalidateRect(window, nullptr, TRUE);
    return TRUE;
}

BOOL itemRect(HWND window, TreeState& s, WPARAM textOnly, LPARAM lParam)
{
    if (lParam == 0)
        return FALSE;
    auto* rect = reinterpret_cast<RECT*>(lParam);
    HTREEITEM item = nullptr;
    std::memcpy(&item, rect, sizeof item);
    TreeNode* node = nodeOf(s, item);
    int row = node != nullptr ? rowOf(s, node->id) : -1;
    if (row < 0)
        return FALSE;
    TreeLayout layout = layoutOf(window, s);
    int height = itemHeightOf(window, s);
    RECT r{layout.items.left, (row - s.topRow) * height, layout.items.right, (row - s.topRow + 1) * height};
    if (textOnly) {
        r.left = labelX(window, s, rowsOf(s)[static_cast<size_t>(row)].level);
        r.right = r.left + measuredLabelWidth(window, s, *node);
    }
    *rect = r;
    return TRUE;
}

// ---- painting ------------------------------------------------------------------------------

void dottedLine(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour)
{
    if (x0 == x1) {
        for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
            if (((x0 + y) & 1) == 0)
                SetPixel(dc, x0, y, colour);
    } else {
        for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
            if (((x + y0) & 1) == 0)
                SetPixel(dc, x, y0, colour);
    }
}

void drawButton(HDC dc, int cx, int cy, bool open)
{
    RECT box{cx - buttonHalf, cy - buttonHalf, cx + buttonHalf + 1, cy + buttonHalf + 1};
    fillSolid(dc, box, RGB(255, 255, 255));
    drawFrame(dc, box, RGB(128, 128, 128));
    RECT bar{cx - 2, cy, cx + 3, cy + 1};
    fillSolid(dc, bar, RGB(0, 0, 0));
    if (!open) {
        RECT stem{cx, cy - 2, cx + 1, cy + 3};
        fillSolid(dc, stem, RGB(0, 0, 0));
    }
}

void drawLines(HWND window, TreeState& s, HDC dc, const TreeNode& node, int level, const RECT& row, bool firstRow)
{
    const COLORREF colour = RGB(128, 128, 128);
    bool rootLines = linesAtRoot(window);
    int mid = (row.top + row.bottom) / 2;
    if (level > 0 || rootLines) {
        int x = jointX(window, s, level);
        dottedLine(dc, x, mid, labelX(window, s, level) - 2, mid, colour);
        dottedLine(dc, x, firstRow && node.parent == 0 ? mid : row.top, x, hasNextSibling(s, node) ? row.bottom - 1 : mid,
                   colour);
    }
    // Lines of the ancestors that continue below this row.
    int ancestorLevel = level - 1;
    for (const TreeNode* a = nodeOf(s, node.parent); a != nullptr; a = nodeOf(s, a->parent), --ancestorLevel) {
        if ((ancestorLevel > 0 || rootLines) && hasNextSibling(s, *a)) {
            int x = jointX(window, s, ancestorLevel);
            dottedLine(dc, x, row.top, x, row.bottom - 1, colour);
        }
    }
}

LRESULT customDraw(HWND window, NMTVCUSTOMDRAW& draw, DWORD stage)
{
    draw.nmcd.dwDrawStage = stage;
    return notifyParent(window, draw.nmcd.hdr, NM_CUSTOMDRAW);
}

void paintTree(HWND window, TreeState& s)
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    TreeLayout layout = layoutOf(window, s);
    COLORREF back = s.backColour != CLR_INVALID ? s.backColour : GetSysColor(COLOR_WINDOW);
    COLORREF fore = s.textColour != CLR_INVALID ? s.textColour : GetSysColor(COLOR_WINDOWTEXT);
    fillSolid(dc, layout.items, back);
    HFONT font = fontOrStandard(s.font);
    HGDIOBJ originalFont = SelectObject(dc, font);

    NMTVCUSTOMDRAW draw{};
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = client;
    LRESULT wanted = customDraw(window, draw, CDDS_PREPAINT);
    bool itemStages = (wanted & CDRF_NOTIFYITEMDRAW) != 0;

    const auto rows = rowsOf(s);
    int height = itemHeightOf(window, s);
    bool buttons = (windowStyle(window) & TVS_HASBUTTONS) != 0;
    bool lines = (windowStyle(window) & TVS_HASLINES) != 0;
    bool enabled = IsWindowEnabled(window);
    for (int r = s.topRow; r < static_cast<int>(rows.size()) && r < s.topRow + layout.visibleRows + 1; ++r) {
        // The parent may delete items while it answers NM_CUSTOMDRAW: rows are looked up again.
        const ItemId id = rows[static_cast<size_t>(r)].id;
        if (nodeOf(s, id) == nullptr)
            continue;
        TreeNode& node = *nodeOf(s, id);
        int level = rows[static_cast<size_t>(r)].level;
        RECT row{layout.items.left, client.top + (r - s.topRow) * height, layout.items.right,
                 client.top + (r - s.topRow + 1) * height};
        bool selected = node.id == s.selected;

        SelectObject(dc, font);
        draw.nmcd.rc = row;
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(node.id);
        draw.nmcd.uItemState = (selected ? CDIS_SELECTED : 0) | (selected && s.focused ? CDIS_FOCUS : 0);
        draw.nmcd.lItemlParam = node.lParam;
        draw.clrText = enabled ? fore : disabledTextColour();
        draw.clrTextBk = back;
        draw.iLevel = level;
        LRESULT itemWanted = itemStages ? customDraw(window, draw, CDDS_ITEMPREPAINT) : CDRF_DODEFAULT;
        if ((itemWanted & CDRF_SKIPDEFAULT) || nodeOf(s, id) == nullptr)
            continue;
        HFONT itemFont = (itemWanted & CDRF_NEWFONT) ? reinterpret_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT)) : font;
        SelectObject(dc, itemFont);

        if (lines)
            drawLines(window, s, dc, node, level, row, r == 0);
        if (buttons && hasChildren(node) && (level > 0 || linesAtRoot(window)))
            drawButton(dc, jointX(window, s, level), (row.top + row.bottom) / 2, expanded(node));

        int x = labelX(window, s, level);
        node.labelWidth = textWidth(dc, node.text) + 2 * labelPadding;
        RECT label{x, row.top, std::min<LONG>(x + node.labelWidth, layout.items.right), row.bottom};
        // The selection stays visible whatever colours the program asked for.
        COLORREF labelBack = selected ? selectionColour() : draw.clrTextBk;
        COLORREF labelText = selected ? selectionTextColour() : draw.clrText;
        if (selected || labelBack != back)
            fillSolid(dc, label, labelBack);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, labelText);
        RECT textRect = label;
        textRect.left += labelPadding;
        DrawTextW(dc, reinterpret_cast<LPCWSTR>(node.text.c_str()), static_cast<int>(node.text.size()), &textRect,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (itemWanted & CDRF_NOTIFYPOSTPAINT)
            customDraw(window, draw, CDDS_ITEMPOSTPAINT);
    }
    if (wanted & CDRF_NOTIFYPOSTPAINT) {
        draw.nmcd.rc = client;
        customDraw(window, draw, CDDS_POSTPAINT);
    }
    SelectObject(dc, originalFont);
    drawScrollBar(dc, layout.bar);
    EndPaint(window, &paint);
}

// ---- input ---------------------------------------------------------------------------------

void stylusDown(HWND window, TreeState& s, POINT point)
{
    if (GetFocus() != window)
        SetFocus(window);
    SetCapture(window);
    s.down = point;
    s.downTop = s.topRow;
    s.gestureDone = false;
    TreeLayout layout = layoutOf(window, s);
    ScrollHit hit = beginScrollDrag(layout.bar, s.barDrag, point);
    if (hit != ScrollHit::none) {
        s.mode = StylusMode::scrollBar;
        if (hit != ScrollHit::thumb) {
            setTopRow(window, s, stepPosition(layout.bar, hit));
            SetTimer(window, scrollRepeatTimer, scrollRepeatFirstMs, nullptr);
        }
        return;
    }
    s.mode = StylusMode::tap;
    ItemId item = 0;
    UINT where = hitTest(window, s, point, &item);
    if (where == TVHT_ONITEMBUTTON) {
        expandItem(window, s, item, TVE_TOGGLE, true);
        s.gestureWanted = false;
        return;
    }
    NMRGINFO gesture{};
    gesture.ptAction = point;
    gesture.dwItemSpec = static_cast<DWORD>(item);
    s.gestureWanted = notifyParent(window, gesture.hdr, NM_RECOGNIZEGESTURE) == 0;
    if (s.gestureWanted && IsWindow(window))
        SetTimer(window, holdTimer, holdMs, nullptr);
}

void holdRecognised(HWND window, TreeState& s)
{
    KillTimer(window, holdTimer);
    if (s.mode != StylusMode::tap || !s.gestureWanted)
        return;
    s.gestureDone = true;
    ItemId item = 0;
    hitTest(window, s, s.down, &item);
    NMRGINFO gesture{};
    gesture.ptAction = s.down;
    ClientToScreen(window, &gesture.ptAction);
    gesture.dwItemSpec = static_cast<DWORD>(item);
    notifyParent(window, gesture.hdr, GN_CONTEXTMENU);
}

void stylusMove(HWND window, TreeState& s, POINT point)
{
    if (s.mode == StylusMode::tap && movedBeyondTap(s.down, point)) {
        s.mode = StylusMode::drag;
        KillTimer(window, holdTimer);
    }
    if (s.mode == StylusMode::drag) {
        setTopRow(window, s, s.downTop + (s.down.y - point.y) / itemHeightOf(window, s));
    } else if (s.mode == StylusMode::scrollBar) {
        s.barDrag.stylus = point;
        if (s.barDrag.part == ScrollHit::thumb)
            setTopRow(window, s, thumbDragPosition(layoutOf(window, s).bar, s.barDrag, point));
    }
}

void repeatBarStep(HWND window, TreeState& s)
{
    KillTimer(window, scrollRepeatTimer);
    if (s.mode != StylusMode::scrollBar)
        return;
    int position = 0;
    if (repeatedStep(layoutOf(window, s).bar, s.barDrag, position))
        setTopRow(window, s, position);
    SetTimer(window, scrollRepeatTimer, scrollRepeatNextMs, nullptr);
}

void stylusUp(HWND window, TreeState& s, POINT point)
{
    StylusMode mode = s.mode;
    s.mode = StylusMode::none;
    KillTimer(window, holdTimer);
    KillTimer(window, scrollRepeatTimer);
    if (GetCapture() == window)
        ReleaseCapture();
    if (mode != StylusMode::tap || s.gestureDone)
        return;
    ItemId item = 0;
    UINT where = hitTest(window, s, s.down, &item);
    (void)point;
    NMHDR click{};
    if (notifyParent(window, click, NM_CLICK) != 0 || !IsWindow(window))
        return;
    if (where == TVHT_ONITEMBUTTON)
        return;
    if (item != 0 && (where & (TVHT_ONITEM | TVHT_ONITEMRIGHT)))
        selectItem(window, s, item, TVC_BYMOUSE);
}

void keyDown(HWND window, TreeState& s, WPARAM key)
{
    NMTVKEYDOWN info{};
    info.wVKey = static_cast<WORD>(key);
    info.flags = 0;
    notifyParent(window, info.hdr, TVN_KEYDOWN);
    if (!IsWindow(window))
        return;
    const auto& rows = rowsOf(s);
    if (rows.empty())
        return;
    int row = s.selected != 0 ? rowOf(s, s.selected) : -1;
    TreeLayout layout = layoutOf(window, s);
    int target = row;
    TreeNode* node = nodeOf(s, s.selected);
    switch (key) {
    case VK_UP:
        target = row < 0 ? 0 : row - 1;
        break;
    case VK_DOWN:
        target = row < 0 ? 0 : row + 1;
        break;
    case VK_PRIOR:
        target = row < 0 ? 0 : row - layout.visibleRows + 1;
        break;
    case VK_NEXT:
        target = row < 0 ? 0 : row + layout.visibleRows - 1;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = static_cast<int>(rows.size()) - 1;
        break;
    case VK_LEFT:
        if (node != nullptr && expanded(*node) && hasChildren(*node)) {
            expandItem(window, s, node->id, TVE_COLLAPSE, true);
            return;
        }
        if (node != nullptr && node->parent != 0)
            selectItem(window, s, node->parent, TVC_BYKEYBOARD);
        return;
    case VK_RIGHT:
        if (node != nullptr && hasChildren(*node)) {
            if (!expanded(*node))
                expandItem(window, s, node->id, TVE_EXPAND, true);
            else if (!node->children.empty())
                selectItem(window, s, node->children.front(), TVC_BYKEYBOARD);
        }
        return;
    case VK_ADD:
        if (node != nullptr)
            expandItem(window, s, node->id, TVE_EXPAND, true);
        return;
    case VK_SUBTRACT:
        if (node != nullptr)
            expandItem(window, s, node->id, TVE_COLLAPSE, true);
        return;
    case VK_RETURN: {
        NMHDR header{};
        notifyParent(window, header, NM_RETURN);
        return;
    }
    default:
        return;
    }
    target = std::clamp(target, 0, static_cast<int>(rows.size()) - 1);
    if (target != row)
        selectItem(window, s, rows[static_cast<size_t>(target)].id, TVC_BYKEYBOARD);
}

// The screens act on Enter in a tree (TVN_KEYDOWN, NM_RETURN), so a dialog must hand it over
// instead of pressing its default button.
LRESULT dialogCode(const MSG* message)
{
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (message != nullptr && message->message == WM_KEYDOWN && message->wParam == VK_RETURN)
        code |= DLGC_WANTALLKEYS;
    return code;
}

LRESULT setColour(COLORREF& slot, LPARAM lParam)
{
    COLORREF previous = slot;
    slot = static_cast<COLORREF>(lParam);
    return static_cast<LRESULT>(previous == CLR_INVALID ? static_cast<COLORREF>(-1) : previous);
}

}  // namespace

LRESULT CALLBACK treeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TreeState* s = nullptr;
    if (std::optional<LRESULT> answered = answerCommonMessage(window, message, wParam, lParam, s))
        return *answered;
    switch (message) {
    case WM_DESTROY:
        KillTimer(window, holdTimer);
        KillTimer(window, scrollRepeatTimer);
        deleteItem(window, *s, TVI_ROOT);
        break;
    case WM_PAINT:
        paintTree(window, *s);
        return 0;
    case WM_SIZE:
        setTopRow(window, *s, s->topRow);
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        s->fontHeight = 0;
        for (auto& entry : s->nodes)
            entry.second->labelWidth = -1;
        if (LOWORD(lParam))
            InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_SETFOCUS: {
        s->focused = true;
        InvalidateRect(window, nullptr, TRUE);
        NMHDR header{};
        notifyParent(window, header, NM_SETFOCUS);
        return 0;
    }
    case WM_KILLFOCUS: {
        s->focused = false;
        InvalidateRect(window, nullptr, TRUE);
        NMHDR header{};
        notifyParent(window, header, NM_KILLFOCUS);
        return 0;
    }
    case WM_ENABLE:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETDLGCODE:
        return dialogCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
        keyDown(window, *s, wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        stylusDown(window, *s, pointFromLParam(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (s->mode != StylusMode::none)
            stylusMove(window, *s, pointFromLParam(lParam));
        return 0;
    case WM_LBUTTONUP:
        if (s->mode != StylusMode::none)
            stylusUp(window, *s, pointFromLParam(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == holdTimer)
            holdRecognised(window, *s);
        else if (wParam == scrollRepeatTimer)
            repeatBarStep(window, *s);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window) {
            s->mode = StylusMode::none;
            KillTimer(window, holdTimer);
            KillTimer(window, scrollRepeatTimer);
        }
        return 0;

    case TVM_INSERTITEMW:
        return reinterpret_cast<LRESULT>(insertItem(window, *s, reinterpret_cast<const TVINSERTSTRUCTW*>(lParam)));
    case TVM_DELETEITEM:
        return deleteItem(window, *s, reinterpret_cast<HTREEITEM>(lParam)) ? TRUE : FALSE;
    case TVM_EXPAND:
        return expandItem(window, *s, idOf(reinterpret_cast<HTREEITEM>(lParam)), static_cast<UINT>(wParam), false);
    case TVM_SELECTITEM:
        if (wParam == TVGN_CARET)
            return selectItem(window, *s, idOf(reinterpret_cast<HTREEITEM>(lParam)), TVC_UNKNOWN) ? TRUE : FALSE;
        if (wParam == TVGN_FIRSTVISIBLE) {
            int row = rowOf(*s, idOf(reinterpret_cast<HTREEITEM>(lParam)));
            if (row < 0)
                return FALSE;
            setTopRow(window, *s, row);
            return TRUE;
        }
        return wParam == TVGN_DROPHILITE ? TRUE : FALSE;
    case TVM_GETNEXTITEM:
        return reinterpret_cast<LRESULT>(nextItem(*s, static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_GETITEMW:
        return getItem(*s, reinterpret_cast<TVITEMW*>(lParam));
    case TVM_SETITEMW:
        return setItem(window, *s, reinterpret_cast<const TVITEMW*>(lParam));
    case TVM_HITTEST: {
        auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
        if (info == nullptr)
            return 0;
        ItemId item = 0;
        info->flags = hitTest(window, *s, info->pt, &item);
        info->hItem = handleOf(item);
        return reinterpret_cast<LRESULT>(info->hItem);
    }
    case TVM_SORTCHILDREN: {
        TreeNode* parent = isRootHandle(reinterpret_cast<HTREEITEM>(lParam)) ? &s->root
                                                                             : nodeOf(*s, reinterpret_cast<HTREEITEM>(lParam));
        if (parent == nullptr)
            return FALSE;
        sortChildren(*s, *parent, wParam != 0);
        InvalidateRect(window, nullptr, TRUE);
        return TRUE;
    }
    case TVM_ENSUREVISIBLE:
        if (nodeOf(*s, reinterpret_cast<HTREEITEM>(lParam)) == nullptr)
            return FALSE;
        ensureVisible(window, *s, idOf(reinterpret_cast<HTREEITEM>(lParam)));
        return TRUE;
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(s->nodes.size());
    case TVM_GETVISIBLECOUNT:
        return layoutOf(window, *s).visibleRows;
    case TVM_GETITEMRECT:
        return itemRect(window, *s, wParam, lParam);
    case TVM_GETINDENT:
        return s->indent;
    case TVM_SETINDENT:
        s->indent = std::max(8, static_cast<int>(wParam));
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case TVM_GETITEMHEIGHT:
        return itemHeightOf(window, *s);
    case TVM_SETITEMHEIGHT: {
        int previous = itemHeightOf(window, *s);
        auto height = static_cast<int>(static_cast<SHORT>(LOWORD(wParam)));
        s->itemHeight = height > 0 ? height : 0;
        InvalidateRect(window, nullptr, TRUE);
        return previous;
    }
    case TVM_SETBKCOLOR:
        InvalidateRect(window, nullptr, TRUE);
        return setColour(s->backColour, lParam);
    case TVM_SETTEXTCOLOR:
        InvalidateRect(window, nullptr, TRUE);
        return setColour(s->textColour, lParam);
    case TVM_GETBKCOLOR:
        return static_cast<LRESULT>(s->backColour == CLR_INVALID ? static_cast<COLORREF>(-1) : s->backColour);
    case TVM_GETTEXTCOLOR:
        return static_cast<LRESULT>(s->textColour == CLR_INVALID ? static_cast<COLORREF>(-1) : s->textColour);
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace controls
