#include "platform/testing/script.h"

#include "emulator.h"
#include "platform/gdi/screen.h"
#include "tests/testing/fake_ui.h"

#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using ::testing::HasSubstr;

namespace {

std::string parseError(std::string_view source) {
    driver::Script script;
    std::string error;
    EXPECT_EQ(driver::parseScript(source, script, error), 1) << source;
    EXPECT_TRUE(script.commands.empty());
    return error;
}

TEST(ScriptParser, ReadsEveryCommand) {
    driver::Script script;
    std::string error;
    const char* source =
        "# start\n"
        "tap 10 20\r\n"
        "\n"
        "   drag 0 0 100 200\n"
        "key VK_CONTROL+Q\n"
        "type  два слова\\n\n"
        "wait-idle\n"
        "expect-box ОШИБКА|Файл базы данных поврежден !?\n"
        "answer IDYES\n"
        "screenshot home\n"
        "expect-window Dialog|\n"
        "sleep 600\n"
        "quit";
    ASSERT_EQ(driver::parseScript(source, script, error), 0) << error;
    ASSERT_EQ(script.commands.size(), 11u);
    const auto& c = script.commands;
    EXPECT_EQ(c[0].kind, driver::CommandKind::Tap);
    EXPECT_EQ(c[0].line, 2);
    EXPECT_EQ(c[0].numbers[1], 20);
    EXPECT_EQ(c[1].line, 4);
    EXPECT_EQ(c[1].numbers[3], 200);
    EXPECT_EQ(c[2].keys, (std::vector<UINT>{0x11, 'Q'}));
    EXPECT_EQ(c[3].text, u" два слова\n") << "only the blank after the verb is dropped";
    EXPECT_EQ(c[5].text, u"ОШИБКА");
    EXPECT_EQ(c[5].detail, u"Файл базы данных поврежден !?");
    EXPECT_EQ(c[6].numbers[0], IDYES);
    EXPECT_EQ(c[7].name, "home.png");
    driver::Script dumps;
    ASSERT_EQ(driver::parseScript("dump home\ndump after.json\n", dumps, error), 0) << error;
    EXPECT_EQ(dumps.commands[0].kind, driver::CommandKind::Dump);
    EXPECT_EQ(dumps.commands[0].name, "home.json");
    EXPECT_EQ(dumps.commands[1].name, "after.json");
    EXPECT_EQ(c[8].text, u"Dialog");
    EXPECT_TRUE(c[8].detail.empty());
    EXPECT_EQ(c[9].numbers[0], 600);
    EXPECT_EQ(c[10].kind, driver::CommandKind::Quit);
    EXPECT_EQ(c[10].line, 13);
}

TEST(ScriptParser, ErrorsNameTheLineAndTheProblem) {
    EXPECT_EQ(parseError("tap 1 2\nfly 3\n"), "line 2: unknown command 'fly'");
    EXPECT_EQ(parseError("\n\ntap 1\n"), "line 3: tap takes two numbers: tap X Y");
    EXPECT_THAT(parseError("tap 1 -2"), HasSubstr("line 1: '-2' is not a number from 0 to 32767"));
    EXPECT_THAT(parseError("tap 1 99999999999999999999"), HasSubstr("line 1: '99999999999999999999' is not a number"));
    EXPECT_THAT(parseError("tap 1x 2"), HasSubstr("'1x'"));
    EXPECT_THAT(parseError("drag 1 2 3"), HasSubstr("drag takes four numbers"));
    EXPECT_EQ(parseError("key VK_RETRUN"), "line 1: unknown key 'VK_RETRUN'");
    EXPECT_EQ(parseError("key VK_CONTROL+"), "line 1: unknown key ''");
    EXPECT_THAT(parseError("key"), HasSubstr("key needs a key name"));
    EXPECT_THAT(parseError("type"), HasSubstr("type needs the text"));
    EXPECT_THAT(parseError("type a\\qb"), HasSubstr("unknown escape '\\q'"));
    EXPECT_THAT(parseError("type a\\"), HasSubstr("unknown escape"));
    EXPECT_THAT(parseError("expect-box |text"), HasSubstr("expect-box needs a caption"));
    EXPECT_THAT(parseError("expect-window |"), HasSubstr("needs a class or a caption"));
    EXPECT_THAT(parseError("answer YES"), HasSubstr("answer takes one button"));
    EXPECT_THAT(parseError("screenshot ../../etc/x"), HasSubstr("may hold only letters"));
    EXPECT_THAT(parseError("screenshot .hidden"), HasSubstr("may hold only letters"));
    EXPECT_THAT(parseError("screenshot a b"), HasSubstr("one name"));
    EXPECT_EQ(parseError("tap 1 2\ndump\n"), "line 2: dump takes one name: dump NAME");
    EXPECT_EQ(parseError("dump ../home"), "line 1: dump name '../home' may hold only letters, digits, '-', '_' and '.'");
    EXPECT_THAT(parseError("\ndump a\\b"), HasSubstr("line 2: dump name 'a\\b' may hold only"));
    EXPECT_THAT(parseError("dump /tmp/x"), HasSubstr("may hold only"));
    EXPECT_THAT(parseError("dump " + std::string(101, 'a')), HasSubstr("may hold only"));
    EXPECT_THAT(parseError("sleep 600001"), HasSubstr("line 1: '600001'"));
    EXPECT_EQ(parseError("wait-idle now"), "line 1: wait-idle takes no arguments");
    EXPECT_EQ(parseError("quit\ntype \xD0\n"), "line 2: not UTF-8 text");
    EXPECT_EQ(parseError(std::string_view("tap 1 2\0", 8)), "line 1: holds a NUL byte");
    EXPECT_THAT(parseError("type " + std::string(5000, 'a')), HasSubstr("line 1: longer than 4096 bytes"));
}

TEST(ScriptParser, BoxTextsSpanLinesAndNameTheirIcon) {
    driver::Script script;
    std::string error;
    ASSERT_EQ(driver::parseScript("expect-box С НАДЕЖДОЙ|НИЧЕГО НЕ НАЙДЕНО!\\nИСКАТЬ?|MB_ICONQUESTION\n"
                                  "expect-box A\\|B|C\\\\|none\n"
                                  "expect-box ОТКАЗ\n",
                                  script, error),
              0)
        << error;
    const auto& c = script.commands;
    EXPECT_EQ(c[0].detail, u"НИЧЕГО НЕ НАЙДЕНО!\nИСКАТЬ?");
    EXPECT_TRUE(c[0].hasIcon);
    EXPECT_EQ(c[0].icon, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(c[1].text, u"A|B") << "an escaped bar does not separate";
    EXPECT_EQ(c[1].detail, u"C\\");
    EXPECT_TRUE(c[1].hasIcon);
    EXPECT_EQ(c[1].icon, 0u);
    EXPECT_FALSE(c[2].hasIcon);
    EXPECT_FALSE(c[2].hasDetail);
    EXPECT_THAT(parseError("expect-box A|B|MB_ICONSMILE"), HasSubstr("unknown icon 'MB_ICONSMILE'"));
    EXPECT_THAT(parseError("expect-box A|B|none|more"), HasSubstr("expect-box needs a caption"));
    EXPECT_THAT(parseError("expect-window A|B|C"), HasSubstr("expect-window needs"));
    EXPECT_THAT(parseError("expect-box A|\\x"), HasSubstr("unknown escape '\\x'"));
}

TEST(ScriptParser, KeyNames) {
    EXPECT_EQ(driver::virtualKeyNamed("VK_RETURN"), 0x0Du);
    EXPECT_EQ(driver::virtualKeyNamed("VK_A"), static_cast<UINT>('A'));
    EXPECT_EQ(driver::virtualKeyNamed("7"), static_cast<UINT>('7'));
    EXPECT_EQ(driver::virtualKeyNamed("a"), 0u) << "key names are the platform's, in upper case";
    EXPECT_EQ(driver::virtualKeyNamed("VK_"), 0u);
}

// Taps left of x = 100 ask "УДАЛИТЬ?", taps right of x = 200 start the browser.
int askingProgram() {
    fakeui::Event event;
    while (fakeui::getEvent(event)) {
        if (event.kind == fakeui::EventKind::StylusUp && event.x < 100)
            MessageBoxW(nullptr, u"Удалить запись?", u"УДАЛИТЬ?", MB_YESNO | MB_ICONQUESTION);
        if (event.kind == fakeui::EventKind::StylusUp && event.x >= 200) emu::appendJournal("browser http://x.ru");
        if (event.kind == fakeui::EventKind::KeyDown && event.code == 0x1B) return 5;
    }
    return 0;
}

class ScriptRun : public ::testing::Test {
protected:
    void SetUp() override {
        fakeui::reset();
        gdi::resizeScreen(240, 320);
        folder = std::filesystem::temp_directory_path() / ("script-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    driver::ScriptOutcome run(std::string_view source) {
        driver::Script script;
        std::string error;
        EXPECT_EQ(driver::parseScript(source, script, error), 0) << error;
        driver::ScriptSettings settings;
        settings.screenshotFolder = folder.string();
        settings.scenario.watchdogSeconds = 10;
        return driver::runScript(script, askingProgram, settings);
    }

    std::filesystem::path folder;
};

TEST_F(ScriptRun, ABoxIsCheckedAnsweredAndTheProgramEnds) {
    const driver::ScriptOutcome outcome =
        run("tap 10 10\nexpect-box УДАЛИТЬ?|Удалить запись?\nanswer IDNO\nscreenshot after\nkey VK_ESCAPE\n");
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.exitCode, 5);
    EXPECT_TRUE(std::filesystem::exists(folder / "after.png"));
}

// A screen of two windows as the window manager's reader would give it.
driver::ScreenDump sampleScreen() {
    driver::WindowDump list;
    list.windowClass = u"LISTBOX";
    list.id = 301;
    list.rect = {5, 25, 235, 85};
    list.style = 0x50800000;
    list.enabled = true;
    list.lines = std::vector<driver::ListLineDump>{{u"Аптеки", 11, false}, {u"Банки", -3, true}};
    driver::WindowDump tree;
    tree.windowClass = u"SysTreeView32";
    tree.id = 303;
    tree.focused = true;
    tree.items = std::vector<driver::TreeItemDump>{{u"Рубрики", 0, true, false}, {u"Еда", 1, false, true}};
    driver::WindowDump screen;
    screen.windowClass = u"DumpDemo";
    screen.text = u"Справочник";
    screen.rect = {0, 20, 240, 320};
    screen.style = 0x90000000;
    screen.enabled = true;
    screen.children = {list, tree};
    driver::WindowDump page;
    page.windowClass = u"DISPLAYCLASS";
    page.text = u"\xD800 half";
    page.page = driver::PageDump{u"file://\\info.htm", u"b", 40};
    return {{page, screen}};
}

TEST_F(ScriptRun, ADumpIsWrittenAsJsonBesideTheScreenshots) {
    EXPECT_EQ(run("dump home\n").error, "line 1: dump: windows cannot be read in this run");
    driver::Script script;
    std::string error;
    ASSERT_EQ(driver::parseScript("wait-idle\ndump home\nkey VK_ESCAPE\n", script, error), 0) << error;
    driver::ScriptSettings settings;
    settings.screenshotFolder = (folder / "new").string();
    settings.dumpWindows = sampleScreen;
    settings.scenario.watchdogSeconds = 10;
    EXPECT_EQ(driver::runScript(script, askingProgram, settings).error, "");

    std::ifstream in(folder / "new" / "home.json", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_THAT(text, HasSubstr("Справочник")) << "UTF-8, not escapes";
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    ASSERT_FALSE(json.is_discarded()) << "a lone surrogate half does not spoil the file: " << text;
    const nlohmann::json expected = nlohmann::json::parse(R"({"windows": [
        {"class": "DISPLAYCLASS", "id": 0, "text": "\ufffd half", "rect": [0, 0, 0, 0], "style": 0, "enabled": 0,
         "focused": 0, "address": "file://\\info.htm", "anchor": "b", "top": 40, "children": []},
        {"class": "DumpDemo", "id": 0, "text": "Справочник", "rect": [0, 20, 240, 320], "style": 2415919104,
         "enabled": 1, "focused": 0, "children": [
            {"class": "LISTBOX", "id": 301, "text": "", "rect": [5, 25, 235, 85], "style": 1350565888, "enabled": 1,
             "focused": 0, "lines": [{"text": "Аптеки", "value": 11, "selected": 0},
                                     {"text": "Банки", "value": -3, "selected": 1}], "children": []},
            {"class": "SysTreeView32", "id": 303, "text": "", "rect": [0, 0, 0, 0], "style": 0, "enabled": 0,
             "focused": 1, "items": [{"text": "Рубрики", "depth": 0, "expanded": 1, "selected": 0},
                                     {"text": "Еда", "depth": 1, "expanded": 0, "selected": 1}], "children": []}]}]})");
    EXPECT_EQ(json, expected) << text;
}

TEST_F(ScriptRun, DumpedWindowsAreFoundByClassTextAndId) {
    const driver::ScreenDump screen = sampleScreen();
    const driver::WindowDump* list = driver::findDumped(screen, u"listbox");
    ASSERT_NE(list, nullptr) << "classes match without regard to case";
    EXPECT_EQ(list->id, 301);
    EXPECT_EQ(driver::findDumped(screen, u"", u"Справочник"), &screen.windows[1]);
    EXPECT_EQ(driver::findDumped(screen, u"LISTBOX", u"Справочник"), nullptr) << "both must match";
    EXPECT_EQ(driver::findDumpedControl(screen, 303), &screen.windows[1].children[1]);
    EXPECT_EQ(driver::findDumpedControl(screen.windows[1], 301), list);
    EXPECT_EQ(driver::findDumped(screen.windows[1], u"DumpDemo"), nullptr) << "a window is not its own descendant";
    EXPECT_EQ(driver::findDumpedControl(screen.windows[0], 301), nullptr);
}

TEST_F(ScriptRun, StartsAreCheckedInTheJournal) {
    emu::clearJournal();
    EXPECT_EQ(run("expect-journal browser http://x.ru\n").error,
              "line 1: expected the journal line \"browser http://x.ru\", the journal is empty");
    EXPECT_EQ(run("tap 210 10\nexpect-journal browser http://x.ru\nexpect-journal browser http://y.ru\n").error,
              "line 3: expected the journal line \"browser http://y.ru\", the journal ends with \"browser http://x.ru\"");
    EXPECT_THAT(parseError("expect-journal"), HasSubstr("expect-journal needs the line"));
    emu::clearJournal();
}

// A line journalled before the wait began does not end it; the wait ends after its time.
TEST_F(ScriptRun, AJournalWaitLooksForANewLine) {
    emu::clearJournal();
    EXPECT_EQ(run("tap 210 10\nwait-journal 200 browser http://x.ru\n").error,
              "line 2: no new journal line \"browser http://x.ru\" within 200 ms");
    EXPECT_EQ(emu::journal().size(), 1u);
    EXPECT_THAT(parseError("wait-journal 100"), HasSubstr("wait-journal needs a time and the line"));
    EXPECT_THAT(parseError("wait-journal soon raise X"), HasSubstr("'soon' is not a number"));
    driver::Script script;
    std::string error;
    ASSERT_EQ(driver::parseScript("wait-journal 5000   raise DERNOLO  \n", script, error), 0) << error;
    EXPECT_EQ(script.commands[0].numbers[0], 5000);
    EXPECT_EQ(script.commands[0].text, u"raise DERNOLO");
    emu::clearJournal();
}

TEST_F(ScriptRun, TheFirstFailureStopsTheScriptWithItsLine) {
    EXPECT_EQ(run("tap 150 10\nexpect-box УДАЛИТЬ?\nkey VK_ESCAPE\n").error,
              "line 2: expected a message box \"УДАЛИТЬ?\", none is open");
    EXPECT_EQ(run("tap 10 10\nexpect-box УДАЛИТЬ?|Другое\n").error,
              "line 2: expected a message box \"УДАЛИТЬ?|Другое\", found \"УДАЛИТЬ?|Удалить запись?\"");
    EXPECT_EQ(run("tap 10 10\ntap 10 10\n").error, "line 2: tap 10 10: a message box is open (\"УДАЛИТЬ?\")");
    EXPECT_EQ(run("key VK_ESCAPE\ntap 1 1\n").error, "line 2: tap 1 1: the program has ended");
    EXPECT_THAT(run("expect-window Dialog|\n").error, HasSubstr("line 1: expect-window \"Dialog|\": windows cannot"));
    EXPECT_EQ(run("tap 10 10\nexpect-box УДАЛИТЬ?|Удалить запись?|MB_ICONSTOP\n").error,
              "line 2: expected a message box \"УДАЛИТЬ?|Удалить запись?\" with icon MB_ICONSTOP, it has "
              "MB_ICONQUESTION");
    EXPECT_EQ(run("tap 10 10\nexpect-box УДАЛИТЬ?||MB_ICONQUESTION\nanswer IDYES\nkey VK_ESCAPE\n").error, "")
        << "an empty text part checks the caption and the icon only";
}

}  // namespace
