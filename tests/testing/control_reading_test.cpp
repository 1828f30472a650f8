// What a test reads of a program's controls through the driver, on the real window manager and
// controls: lines of lists, combo boxes and trees, texts of statics and edits, windows found by
// control id (hidden ones too) and by class and caption (visible ones only).
#include "win32.h"
#include "win32/commctrl.h"
#include "win32/controls.h"

#include "emulator.h"
#include "platform/gdi/screen.h"
#include "platform/testing/scenario.h"
#include "platform/testing/script.h"
#include "platform/testing/windows.h"
#include "platform/ui/window_manager.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

using ::testing::ElementsAre;

namespace {

enum ControlId { labelId = 201, editId, listId, comboId, treeId, hiddenId };

HWND child(HWND parent, const WCHAR* windowClass, const WCHAR* text, DWORD style, int id, int x, int y, int w, int h)
{
    return CreateWindowExW(0, windowClass, text, WS_CHILD | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), emu::programInstance(), nullptr);
}

HTREEITEM addTreeItem(HWND tree, HTREEITEM parent, const WCHAR* text)
{
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<LPWSTR>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void createControls(HWND window)
{
    child(window, u"STATIC", u"Адрес:", WS_VISIBLE, labelId, 5, 5, 230, 18);
    child(window, u"EDIT", nullptr, WS_VISIBLE | WS_BORDER | ES_UPPERCASE | ES_AUTOHSCROLL, editId, 5, 25, 230, 20);
    HWND list = child(window, u"LISTBOX", nullptr, WS_VISIBLE | WS_BORDER | LBS_SORT | LBS_NOTIFY, listId, 5, 50, 230, 80);
    for (const WCHAR* line : {u"Музеи", u"аптеки", u"Банки"})
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    HWND combo = child(window, u"COMBOBOX", nullptr, WS_VISIBLE | CBS_DROPDOWNLIST, comboId, 5, 135, 230, 100);
    for (const WCHAR* line : {u"Москва", u"Санкт-Петербург"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    HWND tree = child(window, WC_TREEVIEWW, nullptr, WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES, treeId, 5,
                      165, 230, 120);
    const HTREEITEM rubrics = addTreeItem(tree, TVI_ROOT, u"Рубрики");
    const HTREEITEM food = addTreeItem(tree, rubrics, u"Еда");
    addTreeItem(tree, food, u"Кафе");
    addTreeItem(tree, rubrics, u"Отдых");
    addTreeItem(tree, TVI_ROOT, u"Транспорт");
    child(window, u"STATIC", u"Скрыто", 0, hiddenId, 5, 290, 100, 18);
}

// The list's choice is shown in the label, as a screen shows what was picked.
void onCommand(HWND window, WPARAM wParam)
{
    if (LOWORD(wParam) != listId || HIWORD(wParam) != LBN_SELCHANGE) return;
    HWND list = GetDlgItem(window, listId);
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    WCHAR text[64] = {};
    if (index >= 0 && SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0) < 64)
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    SetDlgItemTextW(window, labelId, text);
}

LRESULT CALLBACK controlsWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: createControls(window); return 0;
    case WM_COMMAND: onCommand(window, wParam); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

int controlsProgram()
{
    registerStandardControls();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = controlsWindow;
    windowClass.hInstance = emu::programInstance();
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = u"ControlsDemo";
    if (!RegisterClassW(&windowClass)) return -1;
    if (!CreateWindowExW(0, u"ControlsDemo", u"Контролы", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                         emu::programInstance(), nullptr))
        return -2;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

class ControlReading : public ::testing::Test {
protected:
    void SetUp() override {
        ui::resetWindowManager();
        gdi::resizeScreen(240, 320);
    }
    void TearDown() override { ui::resetWindowManager(); }

    static driver::ScenarioSettings settings() {
        driver::ScenarioSettings s;
        s.watchdogSeconds = 20;
        s.reportFailure = [](const std::string& message) { ADD_FAILURE() << message; };
        return s;
    }
};

TEST_F(ControlReading, LinesOfListsCombosAndTrees) {
    driver::runScenario(controlsProgram, [] {
        HWND window = driver::findWindow(u"CONTROLSDEMO", u"");
        ASSERT_NE(window, nullptr);
        HWND list = driver::findControl(window, listId);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(driver::className(list), u"LISTBOX");
        EXPECT_THAT(driver::listBoxLines(list), ElementsAre(u"аптеки", u"Банки", u"Музеи"))
            << "sorted without regard to case, as the platform sorts";
        EXPECT_THAT(driver::comboBoxLines(driver::findControl(window, comboId)), ElementsAre(u"Москва", u"Санкт-Петербург"));

        std::vector<std::pair<int, std::u16string>> tree;
        for (const driver::TreeLine& line : driver::treeViewLines(driver::findControl(window, treeId)))
            tree.emplace_back(line.depth, line.text);
        EXPECT_THAT(tree, ElementsAre(std::pair{0, std::u16string(u"Рубрики")}, std::pair{1, std::u16string(u"Еда")},
                                      std::pair{2, std::u16string(u"Кафе")}, std::pair{1, std::u16string(u"Отдых")},
                                      std::pair{0, std::u16string(u"Транспорт")}))
            << "collapsed branches included";
        EXPECT_TRUE(driver::listBoxLines(nullptr).empty()) << "a missing control reads as empty";
        EXPECT_TRUE(driver::treeViewLines(nullptr).empty());
        driver::quitProgram();
    }, settings());
}

TEST_F(ControlReading, WindowsByIdClassAndCaption) {
    driver::runScenario(controlsProgram, [] {
        HWND window = driver::findWindow(u"", u"Контролы");
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(driver::findWindow(u"static", u"Адрес:"), driver::findControl(window, labelId))
            << "children are found by class and caption too";
        EXPECT_EQ(driver::findWindow(u"", u"Скрыто"), nullptr) << "a hidden window is not on the screen";
        HWND hidden = driver::findControl(window, hiddenId);
        ASSERT_NE(hidden, nullptr) << "but it is found by its id";
        EXPECT_EQ(driver::windowText(hidden), u"Скрыто");
        EXPECT_EQ(driver::findControl(window, 999), nullptr);
        EXPECT_EQ(driver::findWindow(u"LISTBOX", u"Адрес:"), nullptr) << "class and caption must both match";
        driver::quitProgram();
    }, settings());
}

TEST_F(ControlReading, TappingAndTypingReachTheControls) {
    driver::runScenario(controlsProgram, [] {
        HWND window = driver::findWindow(u"ControlsDemo", u"");
        ASSERT_NE(window, nullptr);
        HWND edit = driver::findControl(window, editId);
        RECT frame;
        GetWindowRect(edit, &frame);
        driver::tap((frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2);
        EXPECT_EQ(GetFocus(), edit);
        driver::typeText(u"нева 5");
        EXPECT_EQ(driver::windowText(edit), u"НЕВА 5");

        HWND list = driver::findControl(window, listId);
        GetWindowRect(list, &frame);
        const LRESULT lineHeight = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
        ASSERT_GT(lineHeight, 0);
        driver::tap(frame.left + 20, frame.top + 2 + static_cast<int>(lineHeight) + static_cast<int>(lineHeight) / 2);
        EXPECT_EQ(driver::windowText(driver::findControl(window, labelId)), u"Банки");

        const std::string shot = (std::filesystem::temp_directory_path() /
                                  ("controls-" + std::to_string(::getpid()) + ".png")).string();
        EXPECT_EQ(driver::saveScreen(shot), 0);
        EXPECT_GT(std::filesystem::file_size(shot), 100u);
        std::filesystem::remove(shot);
        driver::quitProgram();
    }, settings());
}

}  // namespace
