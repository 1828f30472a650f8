// Accelerator tables (made, loaded from resources in both forms, translated) and strings.
#include "tests/ui/ui_fixture.h"

#include <gmock/gmock.h>

#include <cstring>

using ::testing::ElementsAre;

namespace ui_test {
namespace {

constexpr WORD findCommand = 100, quitCommand = 101, letterCommand = 102, altCommand = 103, f5Command = 104;

class AcceleratorTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        main = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
        handlers["main"] = [this](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
            if (message == WM_COMMAND)
                commands.push_back(std::to_string(LOWORD(wParam)) + "/" + std::to_string(HIWORD(wParam)) + "/" +
                                   std::to_string(lParam));
            return false;
        };
        pump();
    }

    // The program's loop: accelerators first.
    void run(HACCEL table)
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (TranslateAcceleratorW(main, table, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    static void key(UINT k)
    {
        ui::keyDown(k);
        ui::keyUp(k);
    }

    HWND main = nullptr;
    std::vector<std::string> commands;
};

TEST_F(AcceleratorTest, AVirtualKeyEntryNeedsExactlyItsModifiers)
{
    ACCEL entries[] = {
        {FVIRTKEY | FCONTROL, 'F', findCommand},
        {FVIRTKEY | FCONTROL | FSHIFT, 'Q', quitCommand},
        {FVIRTKEY, VK_F5, f5Command},
    };
    HACCEL table = CreateAcceleratorTableW(entries, 3);
    ASSERT_NE(table, nullptr);
    ui::keyDown(VK_CONTROL);
    key('F');
    ui::keyUp(VK_CONTROL);
    key('F');  // no Control: nothing
    ui::keyDown(VK_CONTROL);
    key('Q');  // Shift missing: nothing
    ui::keyDown(VK_SHIFT);
    key('Q');
    ui::keyUp(VK_SHIFT);
    ui::keyUp(VK_CONTROL);
    key(VK_F5);
    ui::keyDown(VK_SHIFT);
    key(VK_F5);  // Shift extra: nothing
    ui::keyUp(VK_SHIFT);
    run(table);
    EXPECT_THAT(commands, ElementsAre("100/1/0", "101/1/0", "104/1/0"));
    EXPECT_TRUE(DestroyAcceleratorTable(table));
}

TEST_F(AcceleratorTest, ACharacterEntryMatchesTheTypedCharacterAndAltOnlyWithFalt)
{
    ACCEL entries[] = {
        {0, u'ж', letterCommand},
        {FALT, u'x', altCommand},
    };
    HACCEL table = CreateAcceleratorTableW(entries, 2);
    ui::character(u'ж');
    ui::character(u'x');  // Alt not held: nothing
    ui::keyDown(VK_MENU);
    ui::character(u'x');
    ui::character(u'ж');  // Alt held, no FALT: nothing
    ui::keyUp(VK_MENU);
    run(table);
    EXPECT_THAT(commands, ElementsAre("102/1/0", "103/1/0"));
    DestroyAcceleratorTable(table);
}

TEST_F(AcceleratorTest, TablesLoadFromBothResourceFormsAndOnceEach)
{
    // The resource compiler's 8-byte entries, 0x80 on the last.
    static const uint16_t compiled[] = {FVIRTKEY | FCONTROL, 'A', 40, 0, FVIRTKEY | FCONTROL | 0x80, 'Q', 41, 0};
    static const ACCEL program[] = {{FVIRTKEY, VK_F1, 50}};
    const emu::ResourceEntry table[] = {
        {RT_ACCELERATOR, MAKEINTRESOURCEW(1), compiled, sizeof compiled},
        {RT_ACCELERATOR, u"KEYS", program, sizeof program},
    };
    emu::registerResources(table, 2);
    HACCEL first = LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(1));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(1)), first);
    HACCEL named = LoadAcceleratorsA(nullptr, "keys");
    ASSERT_NE(named, nullptr);
    EXPECT_NE(named, first);
    SetLastError(0);
    EXPECT_EQ(LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(2)), nullptr);
    EXPECT_NE(GetLastError(), 0u);

    ui::keyDown(VK_CONTROL);
    key('Q');
    ui::keyUp(VK_CONTROL);
    run(first);
    key(VK_F1);
    run(named);
    EXPECT_THAT(commands, ElementsAre("41/1/0", "50/1/0"));
}

TEST_F(AcceleratorTest, ADestroyedTableIsAStaleHandle)
{
    ACCEL entry{FVIRTKEY, VK_F2, 60};
    HACCEL table = CreateAcceleratorTableW(&entry, 1);
    ASSERT_TRUE(DestroyAcceleratorTable(table));
    SetLastError(0);
    EXPECT_FALSE(DestroyAcceleratorTable(table));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ACCEL_HANDLE));
    MSG msg{main, WM_KEYDOWN, VK_F2, 1, 0, {}};
    EXPECT_EQ(TranslateAcceleratorW(main, table, &msg), 0);
    // A new table in the same slot is not reached through the old handle.
    HACCEL again = CreateAcceleratorTableW(&entry, 1);
    EXPECT_NE(again, table);
    EXPECT_EQ(TranslateAcceleratorW(main, table, &msg), 0);
    EXPECT_EQ(TranslateAcceleratorW(main, again, &msg), 1);
    EXPECT_THAT(commands, ElementsAre("60/1/0"));
    EXPECT_EQ(CreateAcceleratorTableW(nullptr, 1), nullptr);
}

TEST_F(AcceleratorTest, ResetForgetsTheTables)
{
    ACCEL entry{FVIRTKEY, VK_F2, 60};
    HACCEL table = CreateAcceleratorTableW(&entry, 1);
    ui::resetWindowManager();
    EXPECT_FALSE(DestroyAcceleratorTable(table));
}

// A string block as the resource compiler writes it: 16 counted strings.
std::vector<uint16_t> stringBlock(std::initializer_list<std::pair<int, std::u16string>> strings)
{
    std::vector<std::u16string> slots(16);
    for (const auto& [index, text] : strings)
        slots[static_cast<size_t>(index)] = text;
    std::vector<uint16_t> out;
    for (const std::u16string& s : slots) {
        out.push_back(static_cast<uint16_t>(s.size()));
        out.insert(out.end(), s.begin(), s.end());
    }
    return out;
}

TEST_F(UiTest, LoadStringFindsAStringInItsBlock)
{
    // Identifiers 1 and 2 in block 1; 17 in block 2.
    static const std::vector<uint16_t> block1 = stringBlock({{1, u"Справочник"}, {2, u"DernoloClass"}});
    static const std::vector<uint16_t> block2 = stringBlock({{1, u"Улица"}});
    const emu::ResourceEntry table[] = {
        {RT_STRING, MAKEINTRESOURCEW(1), block1.data(), static_cast<uint32_t>(block1.size() * 2)},
        {RT_STRING, MAKEINTRESOURCEW(2), block2.data(), static_cast<uint32_t>(block2.size() * 2)},
    };
    emu::registerResources(table, 2);
    char16_t buffer[32];
    EXPECT_EQ(LoadStringW(nullptr, 1, buffer, 32), 10);
    EXPECT_EQ(std::u16string(buffer), u"Справочник");
    EXPECT_EQ(LoadStringW(nullptr, 2, buffer, 32), 12);
    EXPECT_EQ(std::u16string(buffer), u"DernoloClass");
    EXPECT_EQ(LoadStringW(nullptr, 17, buffer, 32), 5);
    EXPECT_EQ(std::u16string(buffer), u"Улица");
    // Cut to the buffer, terminated.
    EXPECT_EQ(LoadStringW(nullptr, 1, buffer, 5), 4);
    EXPECT_EQ(std::u16string(buffer), u"Спра");
    // Missing: in a block that exists, and in one that does not.
    EXPECT_EQ(LoadStringW(nullptr, 3, buffer, 32), 0);
    EXPECT_EQ(buffer[0], u'\0');
    EXPECT_EQ(LoadStringW(nullptr, 40, buffer, 32), 0);
    // The read-only form.
    const char16_t* direct = nullptr;
    EXPECT_EQ(LoadStringW(nullptr, 17, reinterpret_cast<LPWSTR>(&direct), 0), 5);
    EXPECT_EQ(std::u16string(direct, 5), u"Улица");
    // Code page 1251.
    char ansi[32];
    EXPECT_EQ(LoadStringA(nullptr, 17, ansi, 32), 5);
    EXPECT_EQ(std::string(ansi), "\xD3\xEB\xE8\xF6\xE0");
}

} // namespace
} // namespace ui_test
