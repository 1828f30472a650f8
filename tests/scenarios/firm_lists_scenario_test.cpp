// The firm list of a rubric and the white pages, driven as a user drives them: what the lists
// hold (text, value, selection), the firm read for its card on a tap, a key and the card's
// next-firm message, the bar's buttons, help, the layouts in both orientations and with the input
// panel, the messages at the lists' limits, and the way home.
#include "tests/scenarios/firm_lists_edition.h"
#include "tests/scenarios/pages_edition.h"

#include "ce.h"
#include "platform/controls/control_limits.h"
#include "platform/gdi/screen.h"
#include "platform/shell/shell.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/screens/firm_card.h"
#include "shell/button_bar.h"
#include "shell/shell_state.h"
#include "win32/controls.h"

namespace {

using namespace dernolo_test;

std::vector<std::u16string> textsOf(const std::vector<driver::ListLineDump>& lines)
{
    std::vector<std::u16string> texts;
    for (const driver::ListLineDump& line : lines)
        texts.push_back(line.text);
    return texts;
}

// The selected lines' indices.
std::vector<int> selectedOf(const std::vector<driver::ListLineDump>& lines)
{
    std::vector<int> selected;
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].selected)
            selected.push_back(static_cast<int>(i));
    return selected;
}

std::u16string frontCaption()
{
    return driver::windowText(GetActiveWindow());
}

// The front screen's content area on the screen: its client area above the bar.
RECT contentOnScreen()
{
    HWND front = GetActiveWindow();
    RECT r;
    GetClientRect(front, &r);
    r.bottom -= buttonBar.height;
    MapWindowPoints(front, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int panelHeight()
{
    SIPINFO info = {};
    info.cbSize = sizeof info;
    SipGetInfo(&info);
    return info.rcSipRect.bottom - info.rcSipRect.top;
}

// The card opened over the list: leave it the way a user does.
void leaveCard(HWND list)
{
    EXPECT_EQ(frontCaption(), u"Визитка");
    if (GetActiveWindow() != list)
        driver::pressKey(VK_ESCAPE);
    EXPECT_EQ(GetActiveWindow(), list);
}

class FirmListScenario : public DernoloScenario {
protected:
    void TearDown() override
    {
        emu::setListCapacity(0);
        DernoloScenario::TearDown();
    }
};

TEST_F(FirmListScenario, ARubricFromACaptionTileListsItsFirmsAndOpensThemByStylusKeysAndTheCard)
{
    const AddressEdition a = addressEdition();
    installEdition(a.edition, "spb.ydb");
    run([&] {
        tapTile(telephonesTile);
        tapTile(policeTile);
        ASSERT_EQ(frontCaption(), u"Список фирм");
        HWND screen = GetActiveWindow();
        std::vector<driver::ListLineDump> lines = shownLines(IDC_FIRM_LIST);
        EXPECT_EQ(textsOf(lines), a.lines);
        ASSERT_EQ(lines.size(), a.firmRefs.size());
        for (size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(static_cast<uint32_t>(lines[i].value), a.firmRefs[i]) << i;
        EXPECT_TRUE(selectedOf(lines).empty());
        EXPECT_TRUE(driver::boxes().empty());

        // Both scroll bars, kept (disabled) when there is nothing to scroll; the list fills the content.
        const LONG style = GetWindowLongW(frontList(IDC_FIRM_LIST), GWL_STYLE);
        EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL | LBS_DISABLENOSCROLL),
                  WS_VSCROLL | WS_HSCROLL | LBS_DISABLENOSCROLL);
        const RECT content = contentOnScreen();
        const RECT list = controlRect(IDC_FIRM_LIST);
        EXPECT_EQ(list.left, content.left);
        EXPECT_EQ(list.top, content.top);
        EXPECT_EQ(list.right, content.right);
        EXPECT_EQ(list.bottom, content.bottom);
        // The longest line reaches past the list's width: the horizontal bar scrolls to its end.
        EXPECT_GT(SendMessageW(frontList(IDC_FIRM_LIST), LB_GETHORIZONTALEXTENT, 0, 0), list.right - list.left);
        screenshot("firm-list-portrait");

        tapLine(IDC_FIRM_LIST, 2);
        leaveCard(screen);
        EXPECT_EQ(selectedOf(shownLines(IDC_FIRM_LIST)), std::vector<int>{2});
        EXPECT_EQ(firmReadLast(), u"Пост на площади");

        // A key that moves the selection opens the card of the new line too.
        driver::pressKey(VK_DOWN);
        leaveCard(screen);
        EXPECT_EQ(selectedOf(shownLines(IDC_FIRM_LIST)), std::vector<int>{3});
        EXPECT_EQ(firmReadLast(), u"Городской участок");

        // The bar's forward button only moves the selection.
        tapFrontBar(IDI_BAR_FORWARD);
        EXPECT_EQ(selectedOf(shownLines(IDC_FIRM_LIST)), std::vector<int>{4});
        EXPECT_EQ(firmReadLast(), u"Городской участок");

        // The card's next firm: the line after the selected one, the first after the last.
        PostMessageW(screen, cardNextFirmMessage, 0, 0);
        driver::waitIdle();
        leaveCard(screen);
        EXPECT_EQ(selectedOf(shownLines(IDC_FIRM_LIST)), std::vector<int>{5});
        EXPECT_EQ(firmReadLast(), u"Участковый пункт");
        PostMessageW(screen, cardNextFirmMessage, 0, 0);
        driver::waitIdle();
        leaveCard(screen);
        EXPECT_EQ(selectedOf(shownLines(IDC_FIRM_LIST)), std::vector<int>{0});
        EXPECT_EQ(firmReadLast(), u"Отдел полиции № 5 & К");

        // Help from its top; back closes the page and leaves the list as it was.
        tapFrontBar(IDI_BAR_HELP);
        ASSERT_NE(pane(), nullptr);
        EXPECT_EQ(shownPage().anchor, u"");
        screenshot("firm-list-help");
        tapFrontBar(IDI_BAR_BACK);
        EXPECT_EQ(pane(), nullptr);
        EXPECT_EQ(GetActiveWindow(), screen);
        EXPECT_EQ(selectedOf(shownLines(IDC_FIRM_LIST)), std::vector<int>{0});

        // The card's own forward button on the last line: the card of the first line.
        tapLine(IDC_FIRM_LIST, 5);
        ASSERT_EQ(frontCaption(), u"Визитка");
        tapFrontBar(IDI_BAR_FORWARD);
        EXPECT_EQ(frontCaption(), u"Визитка");
        EXPECT_EQ(firmReadLast(), u"Отдел полиции № 5 & К");
        // Home on the card closes the card and the list, back to the home screen.
        tapFrontBar(IDI_BAR_HOME);
        EXPECT_EQ(GetActiveWindow(), mainWindow());
        EXPECT_EQ(shellState.returnHomeMarker, returnHomeValue);
        EXPECT_TRUE(driver::boxes().empty());
    });
}

TEST_F(FirmListScenario, TheInputPanelAndTheLandscapeScreenGiveTheListItsRoom)
{
    const AddressEdition a = addressEdition();
    installEdition(a.edition, "spb.ydb");
    run([&] {
        tapTile(telephonesTile);
        tapTile(policeTile);
        RECT before = controlRect(IDC_FIRM_LIST);
        tapFrontBar(IDI_BAR_KEYBOARD);
        EXPECT_EQ(controlRect(IDC_FIRM_LIST).bottom, before.bottom - panelHeight());
        screenshot("firm-list-input-panel");
        tapFrontBar(IDI_BAR_KEYBOARD);
        EXPECT_EQ(controlRect(IDC_FIRM_LIST).bottom, before.bottom);

        turnScreen(320, 240);
        const RECT content = contentOnScreen();
        const RECT list = controlRect(IDC_FIRM_LIST);
        EXPECT_EQ(list.right - list.left, content.right - content.left);
        EXPECT_GT(list.right - list.left, 300);
        EXPECT_EQ(list.bottom, content.bottom);
        EXPECT_EQ(textsOf(shownLines(IDC_FIRM_LIST)), a.lines);
        screenshot("firm-list-landscape");
        // Back closes the list alone: the home screen is where it was.
        tapFrontBar(IDI_BAR_BACK);
        EXPECT_EQ(GetActiveWindow(), mainWindow());
        EXPECT_NE(shellState.returnHomeMarker, returnHomeValue);
    });
}

TEST_F(FirmListScenario, AnEmptyRubricShowsAnEmptyListAndNothingElse)
{
    installEdition(addressEdition().edition, "spb.ydb");
    run([&] {
        tapTile(telephonesTile);
        tapTile(rescueTile);
        ASSERT_EQ(frontCaption(), u"Список фирм");
        EXPECT_TRUE(shownLines(IDC_FIRM_LIST).empty());
        PostMessageW(GetActiveWindow(), cardNextFirmMessage, 0, 0);
        tapFrontBar(IDI_BAR_FORWARD);
        EXPECT_TRUE(shownLines(IDC_FIRM_LIST).empty());
        EXPECT_TRUE(driver::boxes().empty());
        driver::pressKey(VK_ESCAPE);
        EXPECT_EQ(GetActiveWindow(), mainWindow());
    });
}

TEST_F(FirmListScenario, AFullListKeepsTheLinesAddedAndSaysSo)
{
    installEdition(addressEdition().edition, "spb.ydb");
    run([&] {
        emu::setListCapacity(2);
        tapTile(telephonesTile);
        tapTile(policeTile);
        const std::optional<driver::BoxRecord> box = driver::openBox();
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->caption, u"СПИСОК");
        EXPECT_EQ(box->text, u"Недостаточно памяти!");
        EXPECT_EQ(box->style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
        driver::answerBox(IDOK);
        EXPECT_EQ(textsOf(shownLines(IDC_FIRM_LIST)),
                  (std::vector<std::u16string>{u"Отдел полиции № 5 & К, Невский пр., 12",
                                               u"Дежурная часть, Садовая ул., 3/А"}));
        EXPECT_EQ(driver::boxes().size(), 1u);
    });
}

class WhitePagesScenario : public FirmListScenario {};

TEST_F(WhitePagesScenario, RunsOfPairsListTheirFirmsAndOpenThemByStylusKeysAndTheCard)
{
    const Edition e = letterEdition(20, false);
    const std::vector<uint32_t> refs = firmRefsOf(e);
    installEdition(e, "spb.ydb");
    run([&] {
        tapTile(catalogueTile);
        ASSERT_EQ(frontCaption(), u"Белые страницы");
        HWND screen = GetActiveWindow();
        // АБ and АВ begin within 1/64 of the table after АА, and join its line; ББ and ДД do not.
        std::vector<driver::ListLineDump> index = shownLines(IDC_LETTER_INDEX);
        EXPECT_EQ(textsOf(index), (std::vector<std::u16string>{u"АА", u"ББ", u"ДД"}));
        ASSERT_EQ(index.size(), 3u);
        EXPECT_EQ(static_cast<uint32_t>(index[0].value), refs[0]);
        EXPECT_EQ(static_cast<uint32_t>(index[1].value), refs[23]);
        EXPECT_EQ(static_cast<uint32_t>(index[2].value), refs[323]);
        EXPECT_EQ(selectedOf(index), std::vector<int>{0});

        std::vector<driver::ListLineDump> firms = shownLines(IDC_LETTER_FIRMS);
        ASSERT_EQ(firms.size(), 23u);
        EXPECT_EQ(firms[0].text, u"ААА");
        EXPECT_EQ(firms[1].text, u"АББ");
        EXPECT_EQ(firms[2].text, u"АВВ");
        EXPECT_EQ(firms[22].text, u"АВВ 020");
        for (size_t i = 0; i < firms.size(); ++i)
            EXPECT_EQ(static_cast<uint32_t>(firms[i].value), refs[i]) << i;
        EXPECT_TRUE(selectedOf(firms).empty());

        // Two rows of pairs, as wide as "WW"; the firms below them down to the bar.
        HWND indexList = frontList(IDC_LETTER_INDEX);
        RECT row0, row1, column1;
        SendMessageW(indexList, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row0));
        SendMessageW(indexList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row1));
        SendMessageW(indexList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&column1));
        EXPECT_EQ(row1.left, row0.left);
        EXPECT_EQ(row1.top, row0.bottom);
        EXPECT_EQ(column1.left, row0.right);
        EXPECT_EQ(column1.top, row0.top);
        const RECT indexRect = controlRect(IDC_LETTER_INDEX);
        const RECT firmsRect = controlRect(IDC_LETTER_FIRMS);
        const RECT content = contentOnScreen();
        EXPECT_EQ(indexRect.top, content.top);
        EXPECT_EQ(indexRect.bottom - indexRect.top, 2 * (row0.bottom - row0.top));
        EXPECT_EQ(firmsRect.top, indexRect.bottom);
        EXPECT_EQ(firmsRect.bottom, content.bottom);
        EXPECT_EQ(firmsRect.right - firmsRect.left, content.right - content.left);
        screenshot("white-pages-portrait");

        // The last index line lists its firms up to the end of the firm table.
        tapLine(IDC_LETTER_INDEX, 2);
        firms = shownLines(IDC_LETTER_FIRMS);
        ASSERT_EQ(firms.size(), 300u);
        EXPECT_EQ(firms.front().text, u"ДДД 001");
        EXPECT_EQ(firms.back().text, u"ДДД 300");
        EXPECT_EQ(static_cast<uint32_t>(firms.back().value), refs[622]);

        // Keys move in the index too: up from ДД is ББ.
        driver::pressKey(VK_UP);
        firms = shownLines(IDC_LETTER_FIRMS);
        ASSERT_EQ(firms.size(), 300u);
        EXPECT_EQ(firms.front().text, u"БББ 001");
        EXPECT_EQ(selectedOf(shownLines(IDC_LETTER_INDEX)), std::vector<int>{1});

        // Typing moves the index a pair per letter, to the next pair that begins with it: "ДБ"
        // passes ДД and ends on ББ (the help says so), it does not look for names beginning "ДБ".
        driver::typeText(u"Д");
        EXPECT_EQ(selectedOf(shownLines(IDC_LETTER_INDEX)), std::vector<int>{2});
        EXPECT_EQ(shownLines(IDC_LETTER_FIRMS).front().text, u"ДДД 001");
        driver::typeText(u"Б");
        EXPECT_EQ(selectedOf(shownLines(IDC_LETTER_INDEX)), std::vector<int>{1});
        firms = shownLines(IDC_LETTER_FIRMS);
        ASSERT_EQ(firms.size(), 300u);
        EXPECT_EQ(firms.front().text, u"БББ 001");

        tapLine(IDC_LETTER_FIRMS, 1);
        leaveCard(screen);
        EXPECT_EQ(firmReadLast(), u"БББ 002");
        driver::pressKey(VK_DOWN);
        leaveCard(screen);
        EXPECT_EQ(firmReadLast(), u"БББ 003");
        tapFrontBar(IDI_BAR_FORWARD);
        EXPECT_EQ(selectedOf(shownLines(IDC_LETTER_FIRMS)), std::vector<int>{3});
        EXPECT_EQ(firmReadLast(), u"БББ 003");

        // The card's next firm on the last line opens the first.
        SendMessageW(frontList(IDC_LETTER_FIRMS), LB_SETCURSEL, 299, 0);
        PostMessageW(screen, cardNextFirmMessage, 0, 0);
        driver::waitIdle();
        leaveCard(screen);
        EXPECT_EQ(selectedOf(shownLines(IDC_LETTER_FIRMS)), std::vector<int>{0});
        EXPECT_EQ(firmReadLast(), u"БББ 001");

        // Help at the white pages' anchor; the card's next firm goes to the page while it is open.
        tapFrontBar(IDI_BAR_HELP);
        ASSERT_NE(pane(), nullptr);
        EXPECT_EQ(shownPage().anchor, u"t31");
        PostMessageW(screen, cardNextFirmMessage, 0, 0);
        driver::waitIdle();
        EXPECT_EQ(selectedOf(shownLines(IDC_LETTER_FIRMS)), std::vector<int>{0});
        tapFrontBar(IDI_BAR_BACK);
        EXPECT_EQ(pane(), nullptr);

        tapFrontBar(IDI_BAR_HOME);
        EXPECT_EQ(GetActiveWindow(), mainWindow());
        EXPECT_EQ(shellState.returnHomeMarker, returnHomeValue);
        EXPECT_TRUE(driver::boxes().empty());
    });
}

TEST_F(WhitePagesScenario, LayoutWithTheInputPanelAndInLandscape)
{
    installEdition(letterEdition(20, false), "spb.ydb");
    run([&] {
        tapTile(catalogueTile);
        const RECT indexBefore = controlRect(IDC_LETTER_INDEX);
        const RECT firmsBefore = controlRect(IDC_LETTER_FIRMS);
        tapFrontBar(IDI_BAR_KEYBOARD);
        EXPECT_EQ(controlRect(IDC_LETTER_FIRMS).bottom, firmsBefore.bottom - panelHeight());
        EXPECT_EQ(controlRect(IDC_LETTER_INDEX).bottom, indexBefore.bottom);
        screenshot("white-pages-input-panel");
        tapFrontBar(IDI_BAR_KEYBOARD);
        EXPECT_EQ(controlRect(IDC_LETTER_FIRMS).bottom, firmsBefore.bottom);

        turnScreen(320, 240);
        const RECT content = contentOnScreen();
        EXPECT_EQ(controlRect(IDC_LETTER_INDEX).right - controlRect(IDC_LETTER_INDEX).left,
                  content.right - content.left);
        EXPECT_GT(content.right - content.left, 300);
        EXPECT_EQ(controlRect(IDC_LETTER_FIRMS).bottom, content.bottom);
        EXPECT_EQ(shownLines(IDC_LETTER_FIRMS).size(), 23u);
        screenshot("white-pages-landscape");
    });
}

TEST_F(WhitePagesScenario, ARunOfMoreThanTenThousandFirmsStopsAtTheLimit)
{
    const Edition e = letterEdition(0, true);
    const std::vector<uint32_t> refs = firmRefsOf(e);
    installEdition(e, "spb.ydb");
    run([&] {
        tapTile(catalogueTile);
        EXPECT_EQ(textsOf(shownLines(IDC_LETTER_INDEX)), (std::vector<std::u16string>{u"АА", u"ЖЖ"}));
        EXPECT_EQ(shownLines(IDC_LETTER_FIRMS).size(), 303u);
        EXPECT_TRUE(driver::boxes().empty());
        tapLine(IDC_LETTER_INDEX, 1);
        const std::optional<driver::BoxRecord> box = driver::openBox();
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->caption, u"Переполнение");
        EXPECT_EQ(box->text, u"Достигнут предел: 10000");
        EXPECT_EQ(box->style & MB_ICONMASK, 0u);
        driver::answerBox(IDOK);
        const std::vector<driver::ListLineDump> firms = shownLines(IDC_LETTER_FIRMS);
        ASSERT_EQ(firms.size(), 10000u);
        EXPECT_EQ(firms.front().text, u"ЖЖЖ 00001");
        EXPECT_EQ(firms.back().text, u"ЖЖЖ 10000");
        EXPECT_EQ(static_cast<uint32_t>(firms.back().value), refs[3 + 9999]);
        EXPECT_EQ(driver::boxes().size(), 1u);
    });
}

TEST_F(WhitePagesScenario, AFullFirmListKeepsItsLinesAndSaysSo)
{
    installEdition(letterEdition(20, false), "spb.ydb");
    run([&] {
        emu::setListCapacity(5);
        tapTile(catalogueTile);
        const std::optional<driver::BoxRecord> box = driver::openBox();
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->caption, u"ПОИСК");
        EXPECT_EQ(box->text, u"Недостаточно памяти!");
        EXPECT_EQ(box->style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
        driver::answerBox(IDOK);
        EXPECT_EQ(shownLines(IDC_LETTER_FIRMS).size(), 5u);
        EXPECT_EQ(shownLines(IDC_LETTER_INDEX).size(), 3u);
    });
}

}  // namespace
