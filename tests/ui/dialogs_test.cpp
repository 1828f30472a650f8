// Dialogs from templates: creation and WM_INITDIALOG, modal loops nested to any depth each
// returning its own result and giving its owner back, the keyboard (Enter, Escape, Tab and the
// arrows), the item helpers and DWL_MSGRESULT.
#include "tests/ui/ui_fixture.h"
#include "win32/controls.h"
#include "win32/dialog_template.h"

#include <gmock/gmock.h>

#include <cstring>

using ::testing::ElementsAre;

namespace ui_test {
namespace {

// A push button of the test's own: the window manager alone, without platform/controls.
LRESULT CALLBACK testButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: {
        const DWORD type = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & BS_TYPEMASK;
        if (type == BS_DEFPUSHBUTTON)
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (type == BS_PUSHBUTTON)
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        if (type == BS_AUTORADIOBUTTON)
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        return DLGC_BUTTON;
    }
    case BM_SETSTYLE: {
        const LONG_PTR style = GetWindowLongW(window, GWL_STYLE);
        SetWindowLongW(window, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | static_cast<LONG_PTR>(wParam));
        return 0;
    }
    case BM_CLICK:
        SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                     reinterpret_cast<LPARAM>(window));
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// An edit of the test's own: it wants characters and selects all when the dialog gives it focus.
LRESULT CALLBACK testEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case EM_SETSEL:
        SetWindowLongW(window, GWL_USERDATA, 1);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

constexpr WORD dialogId = 200;
constexpr WORD nestedId = 201;
constexpr WORD fontDialogId = 202;
constexpr WORD binaryDialogId = 203;
constexpr int editId = 10;
constexpr int radioA = 20, radioB = 21, radioC = 22;

const DialogItemTemplate items[] = {
    {u"TestEdit", u"42", editId, WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, 4, 4, 80, 12},
    {u"TestButton", u"A", radioA, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, 4, 20, 40, 10},
    {u"TestButton", u"B", radioB, BS_AUTORADIOBUTTON | WS_VISIBLE, 0, 4, 32, 40, 10},
    {u"TestButton", u"C", radioC, BS_AUTORADIOBUTTON | WS_VISIBLE, 0, 4, 44, 40, 10},
    {u"TestButton", u"Hidden", 30, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0, 60, 20, 40, 10},
    {u"TestButton", u"&Save", 31, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, 60, 32, 40, 12},
    {u"TestButton", u"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE | WS_GROUP, 0, 10, 70, 40, 14},
    {u"TestButton", u"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0, 60, 70, 40, 14},
};

const DialogTemplate plainDialog = {DIALOG_TEMPLATE_SIGNATURE, WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 10, 10, 120, 90,
                                    u"Диалог", nullptr, 0, nullptr, items, 8};
const DialogTemplate nestedDialog = {DIALOG_TEMPLATE_SIGNATURE, WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 0, 0, 100, 60,
                                     u"Вложенный", nullptr, 0, nullptr, nullptr, 0};
const DialogTemplate fontDialog = {DIALOG_TEMPLATE_SIGNATURE, WS_POPUP | DS_SETFONT | DS_CENTER, 0, 0, 0, 100, 50,
                                   u"Шрифт", nullptr, 9, u"Tahoma", nullptr, 0};

// The resource compiler's form of a dialog with one static and one button.
std::vector<uint8_t> binaryTemplate()
{
    std::vector<uint8_t> out;
    auto word = [&](uint16_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto dword = [&](uint32_t v) {
        word(static_cast<uint16_t>(v));
        word(static_cast<uint16_t>(v >> 16));
    };
    auto text = [&](const char16_t* s) {
        for (; *s; ++s)
            word(*s);
        word(0);
    };
    auto align = [&] {
        while (out.size() % 4)
            out.push_back(0);
    };
    dword(WS_POPUP | WS_BORDER);
    dword(0);
    word(2);
    word(0);
    word(0);
    word(80);
    word(40);
    word(0);  // no menu
    word(0);  // the dialog class
    text(u"Двоичный");
    align();
    dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    dword(0);
    word(4);
    word(4);
    word(40);
    word(12);
    word(IDOK);
    text(u"TestButton");
    text(u"OK");
    word(0);
    align();
    dword(WS_CHILD | WS_VISIBLE);
    dword(0);
    word(4);
    word(20);
    word(40);
    word(10);
    word(99);
    word(0xFFFF);  // BUTTON by atom
    word(0x0080);
    text(u"x");
    word(0);
    return out;
}

class DialogTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = testButtonProc;
        wc.lpszClassName = u"TestButton";
        RegisterClassW(&wc);
        wc.lpfnWndProc = testEditProc;
        wc.lpszClassName = u"TestEdit";
        RegisterClassW(&wc);
        binary = binaryTemplate();
        resources = {
            {RT_DIALOG, MAKEINTRESOURCEW(dialogId), &plainDialog, sizeof plainDialog},
            {RT_DIALOG, MAKEINTRESOURCEW(nestedId), &nestedDialog, sizeof nestedDialog},
            {RT_DIALOG, MAKEINTRESOURCEW(fontDialogId), &fontDialog, sizeof fontDialog},
            {RT_DIALOG, MAKEINTRESOURCEW(binaryDialogId), binary.data(), static_cast<uint32_t>(binary.size())},
        };
        emu::registerResources(resources.data(), resources.size());
        main = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
        pump();
    }

    std::vector<uint8_t> binary;
    std::vector<emu::ResourceEntry> resources;
    HWND main = nullptr;
};

// What a dialog procedure saw, for the tests to look at afterwards.
struct DialogLog {
    std::vector<std::string> events;
    std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> react;
};
DialogLog* dialogLog = nullptr;

INT_PTR CALLBACK loggingDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (dialogLog == nullptr)
        return FALSE;
    if (message == WM_INITDIALOG)
        dialogLog->events.push_back("init " + std::to_string(lParam));
    if (message == WM_COMMAND)
        dialogLog->events.push_back("command " + std::to_string(LOWORD(wParam)));
    if (dialogLog->react)
        if (INT_PTR r = dialogLog->react(dialog, message, wParam, lParam))
            return r;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == 31)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

TEST_F(DialogTest, ADialogIsBuiltFromItsTemplateBeforeWmInitDialog)
{
    DialogLog seen;
    dialogLog = &seen;
    std::vector<std::string> atInit;
    seen.react = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            atInit.push_back(GetDlgItem(dialog, IDOK) != nullptr ? "controls made" : "no controls");
            atInit.push_back(IsWindowVisible(dialog) ? "visible" : "hidden");
            atInit.push_back(reinterpret_cast<HWND>(wParam) == GetDlgItem(dialog, editId) ? "focus is the edit"
                                                                                          : "other focus");
            atInit.push_back(IsWindowEnabled(main) ? "owner enabled" : "owner disabled");
        }
        return 0;
    };
    whenIdle([&] {
        HWND dialog = GetActiveWindow();
        ASSERT_NE(dialog, main);
        EXPECT_EQ(GetParent(dialog), main);
        EXPECT_FALSE(IsWindowEnabled(main));
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, editId));
        // The dialog manager selects an edit's text when it gives it the focus.
        EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, editId), GWL_USERDATA), 1);
        char16_t caption[32];
        GetWindowTextW(dialog, caption, 32);
        EXPECT_EQ(std::u16string(caption), u"Диалог");
        EXPECT_EQ(GetDlgItemInt(dialog, editId, nullptr, FALSE), 42u);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    const INT_PTR result = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(dialogId), main, loggingDialog, 7);
    dialogLog = nullptr;
    EXPECT_EQ(result, IDOK);
    EXPECT_THAT(atInit, ElementsAre("controls made", "hidden", "focus is the edit", "owner enabled"));
    EXPECT_EQ(seen.events.front(), "init 7");
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_EQ(stepsLeft(), 0u);
}

TEST_F(DialogTest, AMissingTemplateGivesMinusOne)
{
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(999), main, loggingDialog, 0), -1);
    EXPECT_TRUE(IsWindowEnabled(main));
}

// A dialog refused outright, or one whose control cannot be made, gives -1 without its procedure
// ever running and leaves its owner enabled and in front.
TEST_F(DialogTest, ADialogOrAControlThatCannotBeMadeGivesMinusOne)
{
    DialogLog seen;
    dialogLog = &seen;
    emu::clearFaults();
    emu::failCall(emu::FailingCall::dialogCreation);
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(dialogId), main, loggingDialog, 0), -1);
    emu::failCall(emu::FailingCall::windowCreation, 1);
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(dialogId), main, loggingDialog, 0), -1);
    EXPECT_EQ(emu::callCounts()[emu::FailingCall::windowCreation], 2u) << "the dialog, then its first control";
    emu::failCall(emu::FailingCall::dialogCreation);
    EXPECT_EQ(CreateDialogParamW(nullptr, MAKEINTRESOURCEW(dialogId), main, loggingDialog, 0), nullptr);
    emu::clearFaults();
    dialogLog = nullptr;
    EXPECT_TRUE(seen.events.empty());
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(GetActiveWindow(), main);
}

// Each level opens the next from its WM_INITDIALOG (posted to itself), and ends with its own
// number once the inner one has returned its.
struct Nesting {
    int depth = 0;
    std::vector<std::string> events;
    std::vector<HWND> dialogs;
};
Nesting* nesting = nullptr;

INT_PTR CALLBACK nestedDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongW(dialog, DWL_USER, lParam);
        nesting->dialogs.push_back(dialog);
        PostMessageW(dialog, WM_APP, 0, 0);
        return TRUE;
    }
    if (message == WM_APP) {
        const auto level = static_cast<int>(GetWindowLongW(dialog, DWL_USER));
        if (level < nesting->depth) {
            const INT_PTR inner = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(nestedId), dialog, nestedDialogProc, level + 1);
            nesting->events.push_back("level " + std::to_string(level) + " got " + std::to_string(inner) +
                                      (IsWindowEnabled(dialog) ? " enabled" : " disabled"));
        }
        // Every outer dialog is disabled while this one runs.
        for (size_t i = 0; i + 1 < static_cast<size_t>(level); ++i)
            if (IsWindowEnabled(nesting->dialogs[i]))
                nesting->events.push_back("level " + std::to_string(i + 1) + " enabled too early");
        EndDialog(dialog, 100 + level);
        return TRUE;
    }
    return FALSE;
}

TEST_F(DialogTest, NestedModalDialogsEachReturnTheirOwnResultAndGiveTheirOwnersBack)
{
    for (int depth : {1, 2, 5}) {
        Nesting n;
        n.depth = depth;
        nesting = &n;
        const INT_PTR result = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(nestedId), main, nestedDialogProc, 1);
        nesting = nullptr;
        EXPECT_EQ(result, 101) << "depth " << depth;
        std::vector<std::string> expected;
        for (int level = depth - 1; level >= 1; --level)
            expected.push_back("level " + std::to_string(level) + " got " + std::to_string(100 + level + 1) +
                               " enabled");
        EXPECT_EQ(n.events, expected) << "depth " << depth;
        EXPECT_TRUE(IsWindowEnabled(main));
        EXPECT_EQ(GetActiveWindow(), main);
        for (HWND d : n.dialogs)
            EXPECT_FALSE(IsWindow(d));
    }
}

TEST_F(DialogTest, TheOwnerIsDisabledOnlyWhileItsDialogRuns)
{
    std::vector<bool> enabled;
    Nesting n;
    n.depth = 1;
    nesting = &n;
    enabled.push_back(IsWindowEnabled(main) != FALSE);
    DialogBoxParamW(nullptr, MAKEINTRESOURCEW(nestedId), main, nestedDialogProc, 1);
    enabled.push_back(IsWindowEnabled(main) != FALSE);
    nesting = nullptr;
    // An owner that was disabled already stays disabled afterwards.
    EnableWindow(main, FALSE);
    n = Nesting{};
    n.depth = 1;
    nesting = &n;
    DialogBoxParamW(nullptr, MAKEINTRESOURCEW(nestedId), main, nestedDialogProc, 1);
    nesting = nullptr;
    enabled.push_back(IsWindowEnabled(main) != FALSE);
    EXPECT_THAT(enabled, ElementsAre(true, true, false));
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonAndEscapeCancels)
{
    DialogLog seen;
    dialogLog = &seen;
    whenIdle([] {
        ui::keyDown(VK_RETURN);
        ui::keyUp(VK_RETURN);
    });
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(dialogId), main, loggingDialog, 0), IDOK);
    whenIdle([] {
        ui::keyDown(VK_ESCAPE);
        ui::keyUp(VK_ESCAPE);
    });
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(dialogId), main, loggingDialog, 0), IDCANCEL);
    // Another default (DM_SETDEFID) is what Enter presses then.
    seen.react = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG)
            SendMessageW(dialog, DM_SETDEFID, IDCANCEL, 0);
        return 0;
    };
    whenIdle([] {
        HWND dialog = GetActiveWindow();
        EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDCANCEL, DC_HASDEFID));
        EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
        EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, IDCANCEL), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        ui::keyDown(VK_RETURN);
        ui::keyUp(VK_RETURN);
    });
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(dialogId), main, loggingDialog, 0), IDCANCEL);
    dialogLog = nullptr;
    EXPECT_THAT(seen.events, ElementsAre("init 0", "command 1", "init 0", "command 2", "init 0", "command 2"));
}

TEST_F(DialogTest, TabAndTheArrowsMoveTheFocusThroughTheDialog)
{
    DialogLog seen;
    dialogLog = &seen;
    std::vector<int> focus;
    auto note = [&focus] { focus.push_back(GetDlgCtrlID(GetFocus())); };
    auto key = [](UINT k) {
        ui::keyDown(k);
        ui::keyUp(k);
    };
    whenIdle([&] {
        note();
        key(VK_TAB);
    });
    whenIdle([&] {
        note();  // the first radio button (the hidden button is skipped)
        key(VK_DOWN);
    });
    whenIdle([&] {
        note();
        key(VK_DOWN);
    });
    whenIdle([&] {
        note();
        key(VK_DOWN);  // wraps inside the group
    });
    whenIdle([&] {
        note();
        key(VK_TAB);
    });
    whenIdle([&] {
        note();
        ui::keyDown(VK_SHIFT);
        key(VK_TAB);
        ui::keyUp(VK_SHIFT);
    });
    whenIdle([&] {
        note();
        key(VK_TAB);
        key(VK_TAB);
        key(VK_TAB);
        key(VK_TAB);
    });
    whenIdle([&] {
        note();  // around to the edit
        PostMessageW(GetActiveWindow(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(dialogId), main, loggingDialog, 0), IDCANCEL);
    dialogLog = nullptr;
    EXPECT_THAT(focus, ElementsAre(editId, radioA, radioB, radioC, radioA, 31, radioA, editId));
}

TEST_F(DialogTest, AButtonsUnderlinedLetterPressesIt)
{
    DialogLog seen;
    dialogLog = &seen;
    whenIdle([] {
        // Focus away from the edit, which wants characters itself.
        SetFocus(GetDlgItem(GetActiveWindow(), radioA));
        ui::character(u's');
    });
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(dialogId), main, loggingDialog, 0), 31);
    dialogLog = nullptr;
}

TEST_F(DialogTest, NavigationHelpersFollowTabStopsGroupsAndVisibility)
{
    HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(dialogId), main, loggingDialog, 0);
    ASSERT_NE(dialog, nullptr);
    auto id = [](HWND h) { return GetDlgCtrlID(h); };
    EXPECT_EQ(id(GetNextDlgTabItem(dialog, nullptr, FALSE)), editId);
    EXPECT_EQ(id(GetNextDlgTabItem(dialog, GetDlgItem(dialog, editId), FALSE)), radioA);
    EXPECT_EQ(id(GetNextDlgTabItem(dialog, GetDlgItem(dialog, radioA), FALSE)), 31);
    EXPECT_EQ(id(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDCANCEL), FALSE)), editId);
    EXPECT_EQ(id(GetNextDlgTabItem(dialog, GetDlgItem(dialog, editId), TRUE)), IDCANCEL);
    EXPECT_EQ(id(GetNextDlgGroupItem(dialog, GetDlgItem(dialog, radioB), FALSE)), radioC);
    EXPECT_EQ(id(GetNextDlgGroupItem(dialog, GetDlgItem(dialog, radioA), TRUE)), radioC);
    EnableWindow(GetDlgItem(dialog, radioB), FALSE);
    EXPECT_EQ(id(GetNextDlgGroupItem(dialog, GetDlgItem(dialog, radioA), FALSE)), radioC);
    EnableWindow(GetDlgItem(dialog, editId), FALSE);
    EXPECT_EQ(id(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDCANCEL), FALSE)), radioA);
    DestroyWindow(dialog);
    dialogLog = nullptr;
}

TEST_F(DialogTest, ItemHelpersReadAndWriteTextsAndNumbers)
{
    HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(dialogId), main, loggingDialog, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(SetDlgItemTextW(dialog, editId, u"Невский"));
    char16_t buffer[16];
    EXPECT_EQ(GetDlgItemTextW(dialog, editId, buffer, 16), 7u);
    EXPECT_EQ(std::u16string(buffer), u"Невский");
    EXPECT_EQ(GetDlgItemTextW(dialog, editId, buffer, 4), 3u);
    EXPECT_EQ(std::u16string(buffer), u"Нев");
    BOOL ok = TRUE;
    EXPECT_EQ(GetDlgItemInt(dialog, editId, &ok, FALSE), 0u);
    EXPECT_FALSE(ok);
    SetDlgItemInt(dialog, editId, static_cast<UINT>(-25), TRUE);
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(dialog, editId, &ok, TRUE)), -25);
    EXPECT_TRUE(ok);
    EXPECT_EQ(GetDlgItemInt(dialog, editId, &ok, FALSE), 0u);
    EXPECT_FALSE(ok);
    SetDlgItemTextW(dialog, editId, u" 4294967295 ");
    EXPECT_EQ(GetDlgItemInt(dialog, editId, &ok, FALSE), 4294967295u);
    EXPECT_TRUE(ok);
    SetDlgItemTextW(dialog, editId, u"4294967296");
    EXPECT_EQ(GetDlgItemInt(dialog, editId, &ok, FALSE), 0u);
    EXPECT_FALSE(ok);
    EXPECT_EQ(SendDlgItemMessageW(dialog, editId, WM_GETTEXTLENGTH, 0, 0), 10);
    SetLastError(0);
    EXPECT_EQ(GetDlgItem(dialog, 12345), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
    EXPECT_FALSE(SetDlgItemTextW(dialog, 12345, u"x"));
    DestroyWindow(dialog);
    dialogLog = nullptr;
}

INT_PTR CALLBACK answeringDialog(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_USER) {
        SetWindowLongW(dialog, DWL_MSGRESULT, 4242);
        return TRUE;
    }
    if (message == WM_CTLCOLORDLG)
        return reinterpret_cast<INT_PTR>(GetStockObject(BLACK_BRUSH));
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

TEST_F(DialogTest, AHandledMessageAnswersWithDwlMsgResultAndColoursWithTheirOwnResult)
{
    HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(nestedId), main, answeringDialog, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SendMessageW(dialog, WM_USER, 0, 0), 4242);
    EXPECT_EQ(SendMessageW(dialog, WM_CTLCOLORDLG, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetWindowLongW(dialog, DWL_DLGPROC), reinterpret_cast<LONG_PTR>(&answeringDialog));
    // The background is the brush the procedure answered.
    pump();
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(pixel(r.left + 5, r.top + 5), RGB(0, 0, 0));
    DestroyWindow(dialog);
}

TEST_F(DialogTest, DialogUnitsFollowTheDialogsFont)
{
    HWND plain = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(nestedId), main, answeringDialog, 0);
    HWND withFont = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(fontDialogId), main, answeringDialog, 0);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(withFont, nullptr);
    const LONG base = GetDialogBaseUnits();
    RECT r{0, 0, 100, 60};
    MapDialogRect(plain, &r);
    EXPECT_EQ(r.right, (100 * LOWORD(base) + 2) / 4);
    EXPECT_EQ(r.bottom, (60 * HIWORD(base) + 4) / 8);
    RECT client;
    GetClientRect(plain, &client);
    // The template gives the client area; the one-pixel border is around it.
    EXPECT_EQ(client.right, r.right);
    EXPECT_EQ(client.bottom, r.bottom);
    RECT outer;
    GetWindowRect(plain, &outer);
    EXPECT_EQ(outer.right - outer.left, r.right + 2);
    // DS_SETFONT: the font comes with WM_GETFONT and sets the units; DS_CENTER centres it.
    EXPECT_NE(SendMessageW(withFont, WM_GETFONT, 0, 0), 0);
    RECT f{0, 0, 100, 50};
    MapDialogRect(withFont, &f);
    RECT window;
    GetWindowRect(withFont, &window);
    EXPECT_EQ(window.right - window.left, f.right);
    EXPECT_NEAR((window.left + window.right) / 2, 120, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, 160, 1);
    DestroyWindow(plain);
    DestroyWindow(withFont);
}

TEST_F(DialogTest, TheResourceCompilersTemplateFormIsReadToo)
{
    // The second item's class (BUTTON) does not exist in this test: without DS_NOFAILCREATE the
    // dialog fails.
    EXPECT_EQ(CreateDialogParamW(nullptr, MAKEINTRESOURCEW(binaryDialogId), main, answeringDialog, 0), nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"BUTTON";
    RegisterClassW(&wc);
    HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(binaryDialogId), main, answeringDialog, 0);
    ASSERT_NE(dialog, nullptr);
    char16_t text[16];
    GetWindowTextW(dialog, text, 16);
    EXPECT_EQ(std::u16string(text), u"Двоичный");
    GetDlgItemTextW(dialog, IDOK, text, 16);
    EXPECT_EQ(std::u16string(text), u"OK");
    EXPECT_NE(GetDlgItem(dialog, 99), nullptr);
    DestroyWindow(dialog);
}

TEST_F(DialogTest, QuitInsideADialogEndsItAndReachesTheOuterLoop)
{
    DialogLog seen;
    dialogLog = &seen;
    whenIdle([] { PostQuitMessage(9); });
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(dialogId), main, loggingDialog, 0), 0);
    dialogLog = nullptr;
    EXPECT_TRUE(IsWindowEnabled(main));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 9u);
}

TEST_F(DialogTest, ClosingADialogIsCancel)
{
    DialogLog seen;
    dialogLog = &seen;
    whenIdle([] { SendMessageW(GetActiveWindow(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(dialogId), main, loggingDialog, 0), IDCANCEL);
    dialogLog = nullptr;
}

} // namespace
} // namespace ui_test
