// The messages the cases print, each with the parameters that mean something to a program.
// Messages a reference prints that are no business of the programs (non-client traffic, cursor
// and hit-test queries, colour requests) are left out on purpose.
#include "conformance/record.h"

#include <cstdio>
#include <cstring>

namespace conformance {

namespace {

std::string format(const char* pattern, long a = 0, long b = 0, long c = 0, long d = 0)
{
    char text[200];
    std::snprintf(text, sizeof text, pattern, a, b, c, d);
    return text;
}

std::string className(HWND window)
{
    WCHAR name[64] = {};
    GetClassNameW(window, name, 64);
    return utf8(name);
}

bool sameClass(const std::string& name, const char* expected)
{
    if (name.size() != std::strlen(expected))
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        char left = name[i] >= 'a' && name[i] <= 'z' ? static_cast<char>(name[i] - 32) : name[i];
        char right = expected[i] >= 'a' && expected[i] <= 'z' ? static_cast<char>(expected[i] - 32) : expected[i];
        if (left != right)
            return false;
    }
    return true;
}

const char* listBoxCode(int code)
{
    switch (code) {
    case LBN_ERRSPACE: return "LBN_ERRSPACE";
    case LBN_SELCHANGE: return "LBN_SELCHANGE";
    case LBN_DBLCLK: return "LBN_DBLCLK";
    case LBN_SELCANCEL: return "LBN_SELCANCEL";
    case LBN_SETFOCUS: return "LBN_SETFOCUS";
    case LBN_KILLFOCUS: return "LBN_KILLFOCUS";
    default: return nullptr;
    }
}

const char* comboBoxCode(int code)
{
    switch (code) {
    case CBN_ERRSPACE: return "CBN_ERRSPACE";
    case CBN_SELCHANGE: return "CBN_SELCHANGE";
    case CBN_DBLCLK: return "CBN_DBLCLK";
    case CBN_SETFOCUS: return "CBN_SETFOCUS";
    case CBN_KILLFOCUS: return "CBN_KILLFOCUS";
    case CBN_EDITCHANGE: return "CBN_EDITCHANGE";
    case CBN_EDITUPDATE: return "CBN_EDITUPDATE";
    case CBN_DROPDOWN: return "CBN_DROPDOWN";
    case CBN_CLOSEUP: return "CBN_CLOSEUP";
    case CBN_SELENDOK: return "CBN_SELENDOK";
    case CBN_SELENDCANCEL: return "CBN_SELENDCANCEL";
    default: return nullptr;
    }
}

const char* editCode(int code)
{
    switch (code) {
    case EN_SETFOCUS: return "EN_SETFOCUS";
    case EN_KILLFOCUS: return "EN_KILLFOCUS";
    case EN_CHANGE: return "EN_CHANGE";
    case EN_UPDATE: return "EN_UPDATE";
    case EN_ERRSPACE: return "EN_ERRSPACE";
    case EN_MAXTEXT: return "EN_MAXTEXT";
    case EN_HSCROLL: return "EN_HSCROLL";
    case EN_VSCROLL: return "EN_VSCROLL";
    default: return nullptr;
    }
}

const char* buttonCode(int code)
{
    switch (code) {
    case BN_CLICKED: return "BN_CLICKED";
    case BN_PAINT: return "BN_PAINT";
    case BN_HILITE: return "BN_HILITE";
    case BN_UNHILITE: return "BN_UNHILITE";
    case BN_DISABLE: return "BN_DISABLE";
    case BN_DOUBLECLICKED: return "BN_DOUBLECLICKED";
    case BN_SETFOCUS: return "BN_SETFOCUS";
    case BN_KILLFOCUS: return "BN_KILLFOCUS";
    default: return nullptr;
    }
}

const char* treeCode(UINT code)
{
    switch (code) {
    case NM_CLICK: return "NM_CLICK";
    case NM_DBLCLK: return "NM_DBLCLK";
    case NM_RETURN: return "NM_RETURN";
    case NM_SETFOCUS: return "NM_SETFOCUS";
    case NM_KILLFOCUS: return "NM_KILLFOCUS";
    case NM_CUSTOMDRAW: return "NM_CUSTOMDRAW";
    case NM_RCLICK: return "NM_RCLICK";
    case TVN_SELCHANGINGW: return "TVN_SELCHANGING";
    case TVN_SELCHANGEDW: return "TVN_SELCHANGED";
    case TVN_ITEMEXPANDINGW: return "TVN_ITEMEXPANDING";
    case TVN_ITEMEXPANDEDW: return "TVN_ITEMEXPANDED";
    case TVN_DELETEITEMW: return "TVN_DELETEITEM";
    case TVN_KEYDOWN: return "TVN_KEYDOWN";
    default: return nullptr;
    }
}

const char* actionName(UINT code, UINT action)
{
    if (code == TVN_ITEMEXPANDINGW || code == TVN_ITEMEXPANDEDW) {
        switch (action & 0xFF) {
        case TVE_EXPAND: return "TVE_EXPAND";
        case TVE_COLLAPSE: return "TVE_COLLAPSE";
        case TVE_TOGGLE: return "TVE_TOGGLE";
        default: return "?";
        }
    }
    switch (action) {
    case TVC_BYMOUSE: return "TVC_BYMOUSE";
    case TVC_BYKEYBOARD: return "TVC_BYKEYBOARD";
    case TVC_UNKNOWN: return "TVC_UNKNOWN";
    default: return "?";
    }
}

const char* drawStage(DWORD stage)
{
    switch (stage) {
    case CDDS_PREPAINT: return "CDDS_PREPAINT";
    case CDDS_POSTPAINT: return "CDDS_POSTPAINT";
    case CDDS_PREERASE: return "CDDS_PREERASE";
    case CDDS_POSTERASE: return "CDDS_POSTERASE";
    case CDDS_ITEMPREPAINT: return "CDDS_ITEMPREPAINT";
    case CDDS_ITEMPOSTPAINT: return "CDDS_ITEMPOSTPAINT";
    default: return "?";
    }
}

std::string describeNotify(const NMHDR* header)
{
    // Hover, hit-test and cursor queries of the common controls are the mouse's business.
    int code = static_cast<int>(header->code);
    if (code == -13 || code == -14 || code == -17)
        return {};
    const char* name = treeCode(header->code);
    std::string from = windowLabel(header->hwndFrom);
    if (name == nullptr)
        return "WM_NOTIFY " + format("%ld", static_cast<long>(header->code)) + " from " + from;
    std::string line = std::string("WM_NOTIFY ") + name + " from " + from;
    switch (header->code) {
    case TVN_SELCHANGINGW:
    case TVN_SELCHANGEDW:
    case TVN_ITEMEXPANDINGW:
    case TVN_ITEMEXPANDEDW:
    case TVN_DELETEITEMW: {
        auto tree = reinterpret_cast<const NMTREEVIEWW*>(header);
        if (header->code == TVN_DELETEITEMW) {
            line += format(" old=%ld", static_cast<long>(tree->itemOld.lParam));
            break;
        }
        line += std::string(" ") + actionName(header->code, tree->action);
        if (header->code == TVN_SELCHANGINGW || header->code == TVN_SELCHANGEDW)
            line += format(" old=%ld new=%ld", static_cast<long>(tree->itemOld.lParam),
                           static_cast<long>(tree->itemNew.lParam));
        else
            line += format(" item=%ld", static_cast<long>(tree->itemNew.lParam)) +
                    (tree->itemNew.state & TVIS_EXPANDED ? " expanded" : " collapsed");
        break;
    }
    case TVN_KEYDOWN: {
        auto key = reinterpret_cast<const NMTVKEYDOWN*>(header);
        line += format(" vk=%ld", key->wVKey);
        break;
    }
    case NM_CUSTOMDRAW: {
        auto draw = reinterpret_cast<const NMTVCUSTOMDRAW*>(header);
        line += std::string(" ") + drawStage(draw->nmcd.dwDrawStage);
        if (draw->nmcd.dwDrawStage & CDDS_ITEM)
            line += format(" item=%ld", static_cast<long>(draw->nmcd.lItemlParam));
        break;
    }
    default:
        break;
    }
    return line;
}

std::string describeCommand(WPARAM wParam, LPARAM lParam)
{
    HWND control = reinterpret_cast<HWND>(lParam);
    int id = LOWORD(wParam);
    int code = HIWORD(wParam);
    if (control == nullptr)
        return format("WM_COMMAND id=%ld", id) + (code == 1 ? " accelerator" : " menu");
    return format("WM_COMMAND id=%ld ", id) + notificationName(control, code) + " from " + windowLabel(control);
}

} // namespace

std::string notificationName(HWND control, int code)
{
    // The code rides in the high word of wParam: the negative ones (the ERRSPACE codes) come as
    // their 16-bit pattern.
    code = static_cast<short>(code);
    std::string name = className(control);
    const char* known = nullptr;
    if (sameClass(name, "ListBox") || sameClass(name, "ComboLBox"))
        known = listBoxCode(code);
    else if (sameClass(name, "ComboBox"))
        known = comboBoxCode(code);
    else if (sameClass(name, "Edit"))
        known = editCode(code);
    else if (sameClass(name, "Button"))
        known = buttonCode(code);
    else if (sameClass(name, "Static"))
        known = code == STN_CLICKED ? "STN_CLICKED" : code == STN_DBLCLK ? "STN_DBLCLK" : nullptr;
    return known != nullptr ? known : format("code=%ld", code);
}

std::string describeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)window;
    switch (message) {
    case WM_CREATE: return "WM_CREATE";
    case WM_DESTROY: return "WM_DESTROY";
    case WM_CLOSE: return "WM_CLOSE";
    case WM_MOVE: return format("WM_MOVE %ld,%ld", static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    case WM_SIZE: return format("WM_SIZE %ld %ldx%ld", static_cast<long>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_SHOWWINDOW: return format("WM_SHOWWINDOW %ld status=%ld", static_cast<long>(wParam), static_cast<long>(lParam));
    case WM_ACTIVATE:
        return format("WM_ACTIVATE %ld", LOWORD(wParam)) + " other=" + windowLabel(reinterpret_cast<HWND>(lParam));
    case WM_SETFOCUS: return "WM_SETFOCUS from " + windowLabel(reinterpret_cast<HWND>(wParam));
    case WM_KILLFOCUS: return "WM_KILLFOCUS to " + windowLabel(reinterpret_cast<HWND>(wParam));
    case WM_ENABLE: return format("WM_ENABLE %ld", static_cast<long>(wParam));
    case WM_PAINT: return "WM_PAINT";
    case WM_ERASEBKGND: return "WM_ERASEBKGND";
    case WM_TIMER: return format("WM_TIMER %ld", static_cast<long>(wParam));
    case WM_COMMAND: return describeCommand(wParam, lParam);
    case WM_NOTIFY: return describeNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_INITDIALOG: return "WM_INITDIALOG";
    case WM_PARENTNOTIFY: return format("WM_PARENTNOTIFY %ld id=%ld", LOWORD(wParam), HIWORD(wParam));
    case WM_DRAWITEM: {
        auto draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return format("WM_DRAWITEM id=%ld item=%ld action=%ld state=%ld", static_cast<long>(draw->CtlID),
                      static_cast<long>(draw->itemID), static_cast<long>(draw->itemAction),
                      static_cast<long>(draw->itemState & (ODS_SELECTED | ODS_FOCUS | ODS_DISABLED)));
    }
    case WM_MEASUREITEM: {
        auto measure = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        return format("WM_MEASUREITEM id=%ld item=%ld", static_cast<long>(measure->CtlID),
                      static_cast<long>(measure->itemID));
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
        return format(message == WM_VSCROLL ? "WM_VSCROLL code=%ld pos=%ld" : "WM_HSCROLL code=%ld pos=%ld",
                      LOWORD(wParam), HIWORD(wParam)) + " from " + windowLabel(reinterpret_cast<HWND>(lParam));
    default:
        break;
    }
    if (message >= WM_USER && message < WM_USER + 100)
        return format("WM_USER+%ld %ld %ld", static_cast<long>(message - WM_USER), static_cast<long>(wParam),
                      static_cast<long>(lParam));
    return {};
}

} // namespace conformance
