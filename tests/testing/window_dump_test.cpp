// The screen dumped on the real window manager, controls and HTML view: a directory screen with
// a list, a combo box, a tree with collapsed branches and controls hidden, disabled and focused,
// under a help page owned by it; then the page navigated to another file and an anchor, and the
// same read by a script's dump command.
#include "win32.h"
#include "win32/commctrl.h"
#include "win32/controls.h"

#include "emulator.h"
#include "htmlview.h"
#include "platform/gdi/screen.h"
#include "platform/testing/scenario.h"
#include "platform/testing/script.h"
#include "platform/testing/windows.h"
#include "platform/ui/window_manager.h"

#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <stdlib.h>

using ::testing::ElementsAre;

namespace {

enum ControlId { listId = 301, comboId, treeId, buttonId, editId, hiddenId };

HWND page = nullptr;

HWND child(HWND parent, const WCHAR* windowClass, const WCHAR* text, DWORD style, int id, int y, int h)
{
    return CreateWindowExW(0, windowClass, text, WS_CHILD | style, 5, y, 230, h, parent,
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

void addLines(HWND window, UINT add, UINT setData, std::initializer_list<std::pair<const WCHAR*, LPARAM>> lines)
{
    for (const auto& [text, data] : lines) {
        const LRESULT at = SendMessageW(window, add, 0, reinterpret_cast<LPARAM>(text));
        SendMessageW(window, setData, static_cast<WPARAM>(at), data);
    }
}

void createControls(HWND window)
{
    HWND list = child(window, WC_LISTBOXW, nullptr, WS_VISIBLE | WS_BORDER, listId, 5, 60);
    addLines(list, LB_ADDSTRING, LB_SETITEMDATA, {{u"Аптеки", 11}, {u"Банки", 22}, {u"Музеи", -3}});
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    HWND combo = child(window, WC_COMBOBOXW, nullptr, WS_VISIBLE | CBS_DROPDOWNLIST, comboId, 70, 100);
    addLines(combo, CB_ADDSTRING, CB_SETITEMDATA, {{u"Москва", 77}, {u"Санкт-Петербург", 78}});
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    HWND tree = child(window, WC_TREEVIEWW, nullptr, WS_VISIBLE | TVS_HASBUTTONS, treeId, 100, 100);
    const HTREEITEM rubrics = addTreeItem(tree, TVI_ROOT, u"Рубрики");
    addTreeItem(tree, addTreeItem(tree, rubrics, u"Еда"), u"Кафе");
    const HTREEITEM rest = addTreeItem(tree, rubrics, u"Отдых");
    addTreeItem(tree, addTreeItem(tree, TVI_ROOT, u"Транспорт"), u"Метро");
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(rubrics));
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(rest));
    child(window, WC_BUTTONW, u"Найти", WS_VISIBLE | WS_DISABLED, buttonId, 205, 20);
    child(window, WC_EDITW, u"нева", WS_VISIBLE | WS_BORDER, editId, 230, 20);
    child(window, WC_STATICW, u"Скрыто", 0, hiddenId, 255, 20);
}

LRESULT CALLBACK screenWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: createControls(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

// A program's main window of its own class at (0, 20), 240 x 300, as the device's screens stand.
HWND createScreen(WNDPROC proc, const char16_t* className, const char16_t* caption)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = emu::programInstance();
    windowClass.lpszClassName = className;
    if (!RegisterClassW(&windowClass)) return nullptr;
    return CreateWindowExW(0, className, caption, WS_POPUP | WS_VISIBLE, 0, 20, 240, 300, nullptr, nullptr,
                           emu::programInstance(), nullptr);
}

int messageLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int directoryProgram()
{
    registerStandardControls();
    InitHTMLControl(emu::programInstance());
    HWND screen = createScreen(screenWindow, u"DumpDemo", u"Справочник");
    if (!screen) return -2;
    // The help page goes over the lower part of the screen, as the screens show their pages.
    page = CreateWindowExW(0, WC_HTMLW, nullptr, WS_POPUP | WS_VISIBLE, 0, 220, 240, 100, screen, nullptr,
                           emu::programInstance(), nullptr);
    SendMessageW(page, DTM_ADDTEXT, FALSE, reinterpret_cast<LPARAM>("<p>Help</p>"));
    SendMessageW(page, DTM_ENDOFSOURCE, 0, 0);
    SetFocus(GetDlgItem(screen, editId));
    return messageLoop();
}

class WindowDump : public ::testing::Test {
protected:
    void SetUp() override {
        ui::resetWindowManager();
        gdi::resizeScreen(240, 320);
        std::string pattern = (std::filesystem::temp_directory_path() / "window-dump-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        ASSERT_EQ(emu::setDeviceRoot(root.string()), 0);
        std::ofstream(root / "info.htm", std::ios::binary)
            << "<p>top</p><div style=\"height:400px\"></div><a name=\"b\">b</a><div style=\"height:400px\"></div>";
    }
    void TearDown() override {
        ui::resetWindowManager();
        std::filesystem::remove_all(root);
    }

    static driver::ScenarioSettings settings() {
        driver::ScenarioSettings s;
        s.watchdogSeconds = 20;
        s.reportFailure = [](const std::string& message) { ADD_FAILURE() << message; };
        return s;
    }

    std::filesystem::path root;
};

std::vector<std::u16string> classesOf(const std::vector<driver::WindowDump>& windows) {
    std::vector<std::u16string> classes;
    for (const driver::WindowDump& window : windows) classes.push_back(window.windowClass);
    return classes;
}

TEST_F(WindowDump, TheScreenAsItIs) {
    driver::runScenario(directoryProgram, [] {
        const driver::ScreenDump dump = driver::dumpWindows();
        ASSERT_THAT(classesOf(dump.windows), ElementsAre(u"DISPLAYCLASS", u"DumpDemo")) << "the owned page above";
        const driver::WindowDump& screen = dump.windows[1];
        EXPECT_EQ(screen.text, u"Справочник");
        EXPECT_EQ(screen.rect.top, 20);
        EXPECT_EQ(screen.rect.bottom, 320);
        EXPECT_EQ(screen.style & WS_POPUP, static_cast<DWORD>(WS_POPUP));
        EXPECT_THAT(classesOf(screen.children), ElementsAre(u"LISTBOX", u"COMBOBOX", u"SysTreeView32", u"BUTTON", u"EDIT"))
            << "in the platform's order, without the hidden label";
        ASSERT_EQ(screen.children.size(), 5u);

        const driver::WindowDump& list = screen.children[0];
        EXPECT_EQ(list.id, listId);
        EXPECT_EQ(list.rect.left, 5);
        EXPECT_EQ(list.rect.top, 25) << "on the screen, not in the parent";
        EXPECT_EQ(list.rect.bottom, 85);
        ASSERT_TRUE(list.lines);
        ASSERT_EQ(list.lines->size(), 3u);
        EXPECT_EQ((*list.lines)[1].text, u"Банки");
        EXPECT_EQ((*list.lines)[1].value, 22);
        EXPECT_EQ((*list.lines)[2].value, -3);
        EXPECT_FALSE((*list.lines)[0].selected);
        EXPECT_TRUE((*list.lines)[1].selected);
        EXPECT_FALSE(list.items);
        EXPECT_FALSE(list.page);

        const driver::WindowDump& combo = screen.children[1];
        ASSERT_TRUE(combo.lines);
        ASSERT_EQ(combo.lines->size(), 2u);
        EXPECT_EQ((*combo.lines)[0].value, 77);
        EXPECT_FALSE((*combo.lines)[0].selected);
        EXPECT_EQ((*combo.lines)[1].text, u"Санкт-Петербург");
        EXPECT_TRUE((*combo.lines)[1].selected);

        const driver::WindowDump& tree = screen.children[2];
        ASSERT_TRUE(tree.items);
        std::vector<std::tuple<std::u16string, int, bool, bool>> items;
        for (const driver::TreeItemDump& item : *tree.items)
            items.emplace_back(item.text, item.depth, item.expanded, item.selected);
        EXPECT_THAT(items, ElementsAre(std::tuple{std::u16string(u"Рубрики"), 0, true, false},
                                       std::tuple{std::u16string(u"Еда"), 1, false, false},
                                       std::tuple{std::u16string(u"Отдых"), 1, false, true},
                                       std::tuple{std::u16string(u"Транспорт"), 0, false, false}))
            << "what the collapsed branches hold is not shown";

        EXPECT_FALSE(screen.children[3].enabled);
        EXPECT_TRUE(screen.children[4].focused);
        EXPECT_EQ(screen.children[4].text, u"нева");
        EXPECT_EQ(std::count_if(screen.children.begin(), screen.children.end(),
                                [](const driver::WindowDump& w) { return w.focused; }),
                  1);
        EXPECT_TRUE(screen.enabled);

        const driver::WindowDump& help = dump.windows[0];
        ASSERT_TRUE(help.page);
        EXPECT_EQ(help.page->address, u"") << "text added, no page";
        EXPECT_EQ(help.page->anchor, u"");
        EXPECT_EQ(driver::findDumped(dump, u"edit"), &screen.children[4]);
        EXPECT_EQ(driver::findDumpedControl(dump, treeId), &tree);

        SendMessageW(page, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(u"file://\\info.htm#b"));
        driver::waitIdle();
        const driver::ScreenDump after = driver::dumpWindows();
        const driver::WindowDump* shown = driver::findDumped(after, WC_HTMLW);
        ASSERT_NE(shown, nullptr);
        ASSERT_TRUE(shown->page);
        EXPECT_EQ(shown->page->address, u"file://\\info.htm");
        EXPECT_EQ(shown->page->anchor, u"b");
        EXPECT_FALSE(shown->lines);
        driver::quitProgram();
    }, settings());
}

// A window that draws its own texts: a heading and a counter below it, with a button of the
// platform beside them.
int counter = 0;
const RECT counterPlace{0, 40, 240, 60};

LRESULT CALLBACK drawingWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        child(window, WC_BUTTONW, u"Кнопка", WS_VISIBLE, buttonId, 100, 20);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        TextOutW(dc, 10, 5, u"Заголовок", 9);
        const std::u16string text = u"Счёт " + std::u16string(1, static_cast<char16_t>(u'0' + counter));
        TextOutW(dc, 10, counterPlace.top, text.c_str(), static_cast<int>(text.size()));
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

int drawingProgram()
{
    registerStandardControls();
    if (!createScreen(drawingWindow, u"DrawingDemo", u"Счёт")) return -2;
    return messageLoop();
}

std::vector<std::u16string> drawnTexts(const driver::WindowDump& window) {
    std::vector<std::u16string> texts;
    for (const driver::DrawnTextDump& drawn : window.drawn) texts.push_back(drawn.text);
    return texts;
}

TEST_F(WindowDump, TextsAWindowDrawsItselfUntilTheyArePaintedOver) {
    counter = 1;
    driver::runScenario(drawingProgram, [] {
        const driver::WindowDump* screen = nullptr;
        driver::ScreenDump dump = driver::dumpWindows();
        ASSERT_NE(screen = driver::findDumped(dump, u"DrawingDemo"), nullptr);
        EXPECT_THAT(drawnTexts(*screen), ElementsAre(u"Заголовок", u"Счёт 1"));
        EXPECT_EQ(screen->drawn[0].rect.left, 10);
        EXPECT_EQ(screen->drawn[0].rect.top, 25) << "on the screen";
        ASSERT_EQ(screen->children.size(), 1u);
        EXPECT_TRUE(screen->children[0].drawn.empty()) << "a control says what it shows through its text";

        // Only the counter's place is painted again: the heading stays, the old count goes.
        counter = 2;
        HWND window = driver::findWindow(u"DrawingDemo", u"Счёт");
        InvalidateRect(window, &counterPlace, TRUE);
        driver::waitIdle();
        dump = driver::dumpWindows();
        ASSERT_NE(screen = driver::findDumped(dump, u"DrawingDemo"), nullptr);
        EXPECT_THAT(drawnTexts(*screen), ElementsAre(u"Заголовок", u"Счёт 2"));

        // Drawn outside a paint cycle at the same place, it replaces what was there.
        HDC dc = GetDC(window);
        TextOutW(dc, 10, 5, u"Заголовок", 9);
        ReleaseDC(window, dc);
        dump = driver::dumpWindows();
        ASSERT_NE(screen = driver::findDumped(dump, u"DrawingDemo"), nullptr);
        EXPECT_THAT(drawnTexts(*screen), ElementsAre(u"Счёт 2", u"Заголовок"));
        EXPECT_NE(driver::dumpJson(dump).find("\"drawn\""), std::string::npos);
        driver::quitProgram();
    }, settings());
}

TEST_F(WindowDump, AScriptWritesTheScreenAsJson) {
    driver::Script script;
    std::string error;
    ASSERT_EQ(driver::parseScript("dump screen\n", script, error), 0) << error;
    driver::ScriptSettings settings;
    settings.screenshotFolder = root.string();
    settings.dumpWindows = driver::dumpWindows;
    settings.scenario.watchdogSeconds = 20;
    EXPECT_EQ(driver::runScript(script, directoryProgram, settings).error, "");

    std::ifstream in(root / "screen.json", std::ios::binary);
    const nlohmann::json json = nlohmann::json::parse(in, nullptr, false);
    ASSERT_FALSE(json.is_discarded());
    ASSERT_EQ(json["windows"].size(), 2u);
    EXPECT_EQ(json["windows"][0]["address"], "");
    const nlohmann::json& screen = json["windows"][1];
    EXPECT_EQ(screen["text"], "Справочник");
    EXPECT_FALSE(screen.contains("address"));
    EXPECT_EQ(screen["children"][0]["lines"][1], nlohmann::json::parse(R"({"text": "Банки", "value": 22, "selected": 1})"));
    EXPECT_EQ(screen["children"][0]["rect"], nlohmann::json::parse("[5, 25, 235, 85]"));
    EXPECT_EQ(screen["children"][2]["items"].size(), 4u);
    EXPECT_EQ(screen["children"][4]["focused"], 1);
}

}  // namespace
