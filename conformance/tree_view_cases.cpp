// The tree view: insertion and order, expand and collapse notifications, selection changing and
// changed with their action codes (mouse, keyboard, unknown), custom-draw stages, hit tests.
// Items carry their number as lParam, which is how the notifications name them.
#include "conformance/cases.h"
#include "conformance/record.h"

#include <cstring>

namespace conformance {

namespace {

HTREEITEM insert(HWND tree, HTREEITEM parent, HTREEITEM after, const WCHAR* text, long number)
{
    TVINSERTSTRUCTW insertion = {};
    insertion.hParent = parent;
    insertion.hInsertAfter = after;
    insertion.item.mask = TVIF_TEXT | TVIF_PARAM;
    insertion.item.pszText = const_cast<WCHAR*>(text);
    insertion.item.lParam = number;
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insertion)));
}

long numberOf(HWND tree, HTREEITEM item)
{
    if (item == nullptr)
        return 0;
    TVITEMW read = {};
    read.mask = TVIF_PARAM | TVIF_HANDLE;
    read.hItem = item;
    if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&read)))
        return -1;
    return static_cast<long>(read.lParam);
}

HTREEITEM next(HWND tree, HTREEITEM item, UINT how)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

void appendLevel(HWND tree, HTREEITEM first, std::string& line)
{
    for (HTREEITEM item = first; item != nullptr; item = next(tree, item, TVGN_NEXT)) {
        WCHAR text[32] = {};
        TVITEMW read = {};
        read.mask = TVIF_TEXT | TVIF_HANDLE | TVIF_STATE;
        read.hItem = item;
        read.pszText = text;
        read.cchTextMax = 32;
        read.stateMask = TVIS_EXPANDED;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&read));
        line += " " + utf8(text) + ((read.state & TVIS_EXPANDED) != 0 ? "+" : "");
        HTREEITEM child = next(tree, item, TVGN_CHILD);
        if (child != nullptr) {
            line += " (";
            appendLevel(tree, child, line);
            line += " )";
        }
    }
}

void printTree(HWND tree, const char* when)
{
    std::string line;
    appendLevel(tree, next(tree, nullptr, TVGN_ROOT), line);
    fact("%s: count %ld:%s; selected %ld", when, send(tree, TVM_GETCOUNT), line.c_str(),
         numberOf(tree, next(tree, nullptr, TVGN_CARET)));
}

struct Items {
    HTREEITEM cities, moscow, petersburg, rivers, neva;
};

Items fill(HWND tree)
{
    Items items = {};
    items.cities = insert(tree, TVI_ROOT, TVI_LAST, CW("Города"), 1);
    items.rivers = insert(tree, TVI_ROOT, TVI_LAST, CW("Реки"), 2);
    items.petersburg = insert(tree, items.cities, TVI_LAST, CW("Петербург"), 11);
    items.moscow = insert(tree, items.cities, TVI_FIRST, CW("Москва"), 12);
    insert(tree, items.cities, TVI_SORT, CW("Омск"), 13);
    insert(tree, items.cities, TVI_SORT, CW("Berlin"), 14);
    items.neva = insert(tree, items.rivers, TVI_LAST, CW("Нева"), 21);
    return items;
}

// Custom drawing: every item's stages are asked for while itemStages is on (the paint case; later
// repaints cover whatever changed, which is each implementation's own business); a
// TVN_SELCHANGING is refused while refusing is on.
bool itemStages = false;
bool refuseSelection = false;

bool answerTree(HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result)
{
    if (message != WM_NOTIFY)
        return false;
    auto header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == NM_CUSTOMDRAW) {
        auto draw = reinterpret_cast<const NMTVCUSTOMDRAW*>(lParam);
        result = draw->nmcd.dwDrawStage == CDDS_PREPAINT && itemStages ? CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT
                                                                        : CDRF_DODEFAULT;
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            result = CDRF_NOTIFYPOSTPAINT;
        return true;
    }
    if (header->code == TVN_SELCHANGINGW && refuseSelection) {
        result = TRUE;
        return true;
    }
    return false;
}

void hitTest(HWND tree, const char* where, int x, int y)
{
    TVHITTESTINFO test = {};
    test.pt.x = x;
    test.pt.y = y;
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test)));
    fact("TVM_HITTEST %s -> item %ld flags %04x", where, numberOf(tree, item), test.flags);
}

RECT labelRect(HWND tree, HTREEITEM item)
{
    // The item's handle goes in where the rectangle comes back.
    RECT rect = {};
    std::memcpy(&rect, &item, sizeof item);
    SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

} // namespace

void treeViewCases()
{
    setRecording(false);
    HWND parent = createFrame("parent", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    pump();

    beginCase("tree.insert");
    setAnswer(answerTree);
    HWND tree = createChild("tree", WC_TREEVIEWW, CW(""),
                            WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                            0, 0, 180, 180, parent, 51);
    useCaseFont(tree);
    Items items = fill(tree);
    printTree(tree, "filled");
    fact("TVM_GETNEXTITEM parent of Нева -> %ld; previous of Реки -> %ld", numberOf(tree, next(tree, items.neva, TVGN_PARENT)),
         numberOf(tree, next(tree, items.rivers, TVGN_PREVIOUS)));
    fact("TVM_GETNEXTITEM next visible of Города -> %ld", numberOf(tree, next(tree, items.cities, TVGN_NEXTVISIBLE)));

    beginCase("tree.paint");
    itemStages = true;
    InvalidateRect(tree, nullptr, TRUE);
    UpdateWindow(tree);
    pump();
    itemStages = false;

    beginCase("tree.expand.program");
    fact("TVM_EXPAND expand -> %ld", send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(items.cities)));
    fact("TVM_EXPAND expand again -> %ld", send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(items.cities)));
    fact("TVM_EXPAND collapse -> %ld", send(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(items.cities)));
    fact("TVM_EXPAND toggle -> %ld", send(tree, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(items.cities)));
    fact("TVM_EXPAND a leaf -> %ld", send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(items.moscow)));
    printTree(tree, "expanded");
    pump();

    beginCase("tree.select.program");
    fact("TVM_SELECTITEM Москва -> %ld", send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(items.moscow)));
    fact("TVM_SELECTITEM Москва again -> %ld", send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(items.moscow)));
    refuseSelection = true;
    fact("TVM_SELECTITEM Реки refused -> %ld", send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(items.rivers)));
    refuseSelection = false;
    printTree(tree, "selected");
    pump();

    beginCase("tree.select.keys");
    SetFocus(tree);
    pump();
    pressKey(tree, VK_DOWN);
    printTree(tree, "Down");
    pressKey(tree, VK_LEFT);
    printTree(tree, "Left");
    pressKey(tree, VK_LEFT);
    printTree(tree, "Left on a root");
    pressKey(tree, VK_RIGHT);
    printTree(tree, "Right");
    pressKey(tree, VK_END);
    printTree(tree, "End");
    pressKey(tree, VK_HOME);
    printTree(tree, "Home");
    pressKey(tree, VK_RETURN);
    pump();

    beginCase("tree.select.tap");
    RECT label = labelRect(tree, items.rivers);
    tap(tree, label.left + 3, (label.top + label.bottom) / 2);
    printTree(tree, "tap on Реки");
    RECT button = labelRect(tree, items.rivers);
    int indent = static_cast<int>(send(tree, TVM_GETINDENT));
    tap(tree, button.left - indent / 2 - 1, (button.top + button.bottom) / 2);
    printTree(tree, "tap on the button of Реки");
    pump();

    beginCase("tree.hittest");
    label = labelRect(tree, items.rivers);
    int middle = (label.top + label.bottom) / 2;
    hitTest(tree, "label", label.left + 2, middle);
    hitTest(tree, "button", label.left - indent / 2 - 1, middle);
    hitTest(tree, "right of the label", label.right + 5, middle);
    hitTest(tree, "below every item", label.left + 2, 170);
    hitTest(tree, "left of the tree", -5, middle);
    hitTest(tree, "above the tree", 5, -5);
    hitTest(tree, "right of the tree", 400, middle);

    beginCase("tree.delete");
    fact("TVM_DELETEITEM Нева -> %ld", send(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(items.neva)));
    fact("TVM_DELETEITEM root -> %ld", send(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
    printTree(tree, "emptied");
    pump();
    setRecording(false);
    DestroyWindow(parent);
    setAnswer(nullptr);
}

} // namespace conformance
