#include "tests/controls/control_fixture.h"

#include <sstream>

namespace controls_test {

ControlTest* ControlTest::current = nullptr;

std::string describe(const Received& r)
{
    std::ostringstream out;
    out << (r.message == WM_COMMAND ? "WM_COMMAND" : r.message == WM_NOTIFY ? "WM_NOTIFY" : "WM_DRAWITEM") << " id "
        << r.id << " code " << r.code << " action " << r.action;
    return out.str();
}

void ControlTest::SetUp()
{
    gdi::resizeScreen(240, 320);
    ui::resetWindowManager();
    emu::clearStylusTrail();
    registerStandardControls();
    current = this;
    WNDCLASSW wc{};
    wc.lpfnWndProc = parentProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = u"ControlTestParent";
    RegisterClassW(&wc);
    parent = CreateWindowExW(0, u"ControlTestParent", u"Test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 240, 320,
                             nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    pump();
}

void ControlTest::TearDown()
{
    ui::resetWindowManager();
    emu::setListCapacity(0);
    current = nullptr;
}

HWND ControlTest::create(LPCWSTR className, DWORD style, int id, int x, int y, int width, int height, LPCWSTR text)
{
    HWND control = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    pump();
    received.clear();
    return control;
}

void ControlTest::pump()
{
    MSG msg{};
    for (int guard = 0; guard < 10000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

namespace {

// Focus reports of the standard controls; their codes overlap between classes.
bool isFocusReport(HWND control, int code)
{
    WCHAR name[32]{};
    GetClassNameW(control, name, 32);
    std::u16string_view kind(name);
    if (kind == WC_LISTBOXW)
        return code == LBN_SETFOCUS || code == LBN_KILLFOCUS;
    if (kind == WC_COMBOBOXW)
        return code == CBN_SETFOCUS || code == CBN_KILLFOCUS;
    if (kind == WC_EDITW)
        return code == EN_SETFOCUS || code == EN_KILLFOCUS;
    return false;
}

POINT onScreen(HWND control, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(control, &p);
    return p;
}
}  // namespace

void ControlTest::press(HWND control, int x, int y)
{
    POINT p = onScreen(control, x, y);
    ui::stylusDown(p.x, p.y);
    pump();
}

void ControlTest::drag(HWND control, int x, int y)
{
    POINT p = onScreen(control, x, y);
    ui::stylusMove(p.x, p.y);
    pump();
}

void ControlTest::release(HWND control, int x, int y)
{
    POINT p = onScreen(control, x, y);
    ui::stylusUp(p.x, p.y);
    pump();
}

void ControlTest::tap(HWND control, int x, int y)
{
    press(control, x, y);
    release(control, x, y);
}

void ControlTest::key(UINT virtualKey)
{
    ui::keyDown(virtualKey);
    pump();
    ui::keyUp(virtualKey);
    pump();
}

void ControlTest::type(std::u16string_view text)
{
    for (char16_t c : text) {
        ui::character(c);
        pump();
    }
}

LRESULT CALLBACK ControlTest::parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ControlTest* test = current;
    if (test != nullptr) {
        if (message == WM_COMMAND && lParam != 0) {
            int code = static_cast<SHORT>(HIWORD(wParam));
            if (test->keepAll || !isFocusReport(reinterpret_cast<HWND>(lParam), code))
                test->received.push_back(command(LOWORD(wParam), code));
            return 0;
        }
        if (message == WM_DRAWITEM) {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            FillRect(item->hDC, &item->rcItem, GetSysColorBrush((item->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
            test->received.push_back(Received{WM_DRAWITEM, static_cast<int>(item->CtlID), 0, 0, nullptr, item->itemState});
            return TRUE;
        }
        if (message == WM_NOTIFY) {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            LRESULT answer = test->onNotify ? test->onNotify(header) : 0;
            bool quiet = header->code == NM_CUSTOMDRAW || header->code == NM_RECOGNIZEGESTURE ||
                         header->code == NM_SETFOCUS || header->code == NM_KILLFOCUS ||
                         header->code == TVN_DELETEITEM;
            if (!quiet || test->keepAll) {
                Received r = notice(static_cast<int>(header->idFrom), header->code);
                if (header->code == TVN_SELCHANGED || header->code == TVN_SELCHANGING) {
                    auto* tree = reinterpret_cast<NMTREEVIEWW*>(lParam);
                    r.action = tree->action;
                    r.newItem = tree->itemNew.hItem;
                }
                test->received.push_back(r);
            }
            return answer;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::u16string textOf(HWND window)
{
    WCHAR buffer[512]{};
    GetWindowTextW(window, buffer, 512);
    return std::u16string(buffer);
}

}  // namespace controls_test
