#include "tests/shell/shell_fixture.h"

#include "platform/gdi/png_writer.h"
#include "platform/ui/window_manager.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

namespace shell_test {

std::function<bool(int)> ShellTest::onIdle;
std::vector<Seen> ShellTest::seen;
DWORD ShellTest::gestureFlags = 0;
bool ShellTest::recogniseGestures = false;
DWORD ShellTest::gestureResult = 0;

namespace {

bool fixtureIdle(int maxWaitMs)
{
    if (ShellTest::onIdle) return ShellTest::onIdle(maxWaitMs);
    if (maxWaitMs < 0) {
        ADD_FAILURE() << "a loop waits for input that the test never gives";
        return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(maxWaitMs));
    return true;
}

LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETTINGCHANGE: {
        ShellTest::seen.push_back(Seen{message, wParam, 0});
        static SHACTIVATEINFO state{sizeof(SHACTIVATEINFO), nullptr, 0, 0, 0, 0};
        SHHandleWMSettingChange(window, wParam, lParam, &state);
        return 0;
    }
    case WM_ACTIVATE: {
        // As a device program does: the shell keeps the window's panel and focus across switches.
        static std::map<HWND, SHACTIVATEINFO> states;
        SHACTIVATEINFO& state = states[window];
        state.cbSize = sizeof state;
        SHHandleWMActivate(window, wParam, lParam, &state, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_NOTIFY:
        ShellTest::seen.push_back(Seen{message, wParam, reinterpret_cast<const NMHDR*>(lParam)->code});
        return 0;
    case WM_LBUTTONDOWN:
        ShellTest::seen.push_back(Seen{message, wParam, 0});
        if (ShellTest::recogniseGestures) {
            SHRGINFO info{sizeof(SHRGINFO), window, {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))},
                          ShellTest::gestureFlags};
            ShellTest::gestureResult = SHRecognizeGesture(&info);
        }
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CLOSE:
        ShellTest::seen.push_back(Seen{message, wParam, 0});
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        RECT client{};
        GetClientRect(window, &client);
        HBRUSH back = CreateSolidBrush(RGB(239, 243, 247));
        FillRect(dc, &client, back);
        DeleteObject(back);
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

const DialogItemTemplate preferenceItems[] = {
    {WC_EDITW, u"", editId, WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_UPPERCASE, 0, 5, 5, 100, 12},
    {WC_BUTTONW, u"ИСКАТЬ", buttonId, WS_VISIBLE | WS_TABSTOP, 0, 5, 25, 60, 14},
    {WC_SIPPREF, u"SIP1", 12, 0, 0, -10, -10, 5, 5},
};
const DialogTemplate plainDialog = {DIALOG_TEMPLATE_SIGNATURE, WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 10, 10, 100, 60,
                                    u"Поиск", nullptr, 0, nullptr, nullptr, 0};
const DialogTemplate preferenceDialog = {DIALOG_TEMPLATE_SIGNATURE, WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 0, 120, 80,
                                         u"Улицы", nullptr, 0, nullptr, preferenceItems, 3};
const emu::ResourceEntry dialogs[] = {
    {RT_DIALOG, MAKEINTRESOURCEW(dialogId), &plainDialog, sizeof plainDialog},
    {RT_DIALOG, MAKEINTRESOURCEW(dialogWithSipPreferenceId), &preferenceDialog, sizeof preferenceDialog},
};

POINT centreOnScreen(shell::SipLayout layout, shell::KeyHit hit)
{
    const RECT panel = shell::panelRect();
    const RECT key = shell::sipKeyRect(layout, panel.right - panel.left, panel.bottom - panel.top, hit);
    return POINT{panel.left + (key.left + key.right) / 2, panel.top + (key.top + key.bottom) / 2};
}

template <typename Match>
POINT findKey(shell::SipLayout layout, Match match)
{
    for (int row = 0; row < shell::sipRowCount; ++row) {
        const auto keys = shell::sipRow(layout, row);
        for (size_t i = 0; i < keys.size(); ++i)
            if (match(keys[i])) return centreOnScreen(layout, shell::KeyHit{row, static_cast<int>(i)});
    }
    ADD_FAILURE() << "no such key";
    return POINT{-1, -1};
}

}  // namespace

void ShellTest::SetUp()
{
    gdi::resizeScreen(240, 320);
    ui::resetWindowManager();
    registerStandardControls();
    SHInitExtraControls();
    emu::registerResources(dialogs, 2);
    ui::setIdleHandler(fixtureIdle);
    onIdle = nullptr;
    seen.clear();
    recogniseGestures = false;
    gestureFlags = 0;
    gestureResult = 0;
    WNDCLASSW wc{};
    wc.lpfnWndProc = testWindowProc;
    wc.lpszClassName = u"ShellTestWindow";
    RegisterClassW(&wc);
    shell::startShell();
    pump();
}

void ShellTest::TearDown()
{
    ui::resetWindowManager();
    shell::stopShell();
    ui::setIdleHandler(nullptr);
    onIdle = nullptr;
}

void ShellTest::pump()
{
    MSG msg{};
    for (int guard = 0; guard < 10000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void ShellTest::tapScreen(int x, int y)
{
    ui::stylusDown(x, y);
    pump();
    ui::stylusUp(x, y);
    pump();
}

HWND ShellTest::makeWindow(LPCWSTR caption, int x, int y, int width, int height)
{
    HWND window = CreateWindowExW(0, u"ShellTestWindow", caption, WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                                  nullptr, nullptr);
    EXPECT_NE(window, nullptr);
    pump();
    return window;
}

bool ShellTest::sawMessage(UINT message, WPARAM wParam)
{
    for (const Seen& s : seen)
        if (s.message == message && s.wParam == wParam) return true;
    return false;
}

void ShellTest::saveShot(const std::string& name)
{
    pump();
    std::filesystem::create_directories(SHELL_SHOTS_DIR);
    EXPECT_TRUE(gdi::savePng(gdi::screen(), std::string(SHELL_SHOTS_DIR) + "/" + name + ".png"));
}

POINT keyOnScreen(shell::SipLayout layout, char16_t ch)
{
    return findKey(layout, [ch](const shell::SipKey& k) { return k.kind == shell::KeyKind::character && k.ch == ch; });
}

POINT keyOnScreen(shell::SipLayout layout, shell::KeyKind kind, shell::SipLayout target)
{
    return findKey(layout, [kind, target](const shell::SipKey& k) {
        return k.kind == kind && (kind != shell::KeyKind::layout || k.target == target);
    });
}

INT_PTR CALLBACK shellDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        SHINITDLGINFO info{SHIDIM_FLAGS, dialog, static_cast<DWORD>(lParam)};
        SHInitDialog(&info);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

std::u16string textOf(HWND window)
{
    WCHAR text[256]{};
    const int length = GetWindowTextW(window, text, 256);
    return std::u16string(text, static_cast<size_t>(length > 0 ? length : 0));
}

}  // namespace shell_test
