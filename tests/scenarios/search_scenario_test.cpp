// The search screen driven as a user drives it: the fields filled and "ИСКАТЬ" tapped, every
// question of the chain of wider searches answered both ways, the street, theme and telephone
// searches, the line limit, the cards that results open, the theme chosen in the rubric tree, the
// completion lists while typing, and taps that arrive while a long search is still running.
#include "tests/scenarios/firm_lists_edition.h"
#include "tests/scenarios/rubric_tree_edition.h"
#include "tests/scenarios/search_edition.h"

#include "ce.h"
#include "platform/gdi/screen.h"
#include "platform/shell/shell.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/screens/firm_card.h"
#include "search/search_state.h"
#include "search/street_list.h"
#include "shell/button_bar.h"
#include "shell/shell_state.h"
#include "win32/controls.h"

namespace {

using namespace dernolo_test;

const std::u16string fragmentQuestion = u"НИЧЕГО НЕ НАЙДЕНО!\nИСКАТЬ ФРАГМЕНТ НАЗВАНИЯ?";
const std::u16string notesQuestion = u"НИЧЕГО НЕ НАЙДЕНО!\nИСКАТЬ В ПРИМЕЧАНИЯХ?";
const std::u16string chemistLeninaLine = u"Аптека «Здоровье», ЛЕНИНА, 12/А";
const std::u16string chemistMiraLine = u"Аптека «Здоровье», МИРА, 3";
const std::u16string chemistOnMiraLine = u"Аптека на Мира, МИРА, 5";
const std::u16string cafeOnMiraLine = u"Пиццерия у Мира, МИРА, 7";
const std::u16string poolLine = u"Бассейн Волна";
const std::u16string fitnessLine = u"Фитнес Атлант, ЛЕНСОВЕТА, 2";
const std::u16string overflowLine = u"!!!···показаны первые 1000···!!!";

std::u16string frontCaption()
{
    return driver::windowText(GetActiveWindow());
}

// The open box is the expected one; it is answered.
void expectBox(const std::u16string& caption, const std::u16string& text, UINT style, int answer)
{
    const std::optional<driver::BoxRecord> box = driver::openBox();
    ASSERT_TRUE(box.has_value()) << "no box where " << std::string(caption.begin(), caption.end()).size()
                                 << "-character caption was expected";
    EXPECT_EQ(box->caption, caption);
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(box->style & (MB_TYPEMASK | MB_ICONMASK), style);
    driver::answerBox(answer);
}

void expectNoBox()
{
    EXPECT_FALSE(driver::openBox().has_value());
}

// A fresh search of `name` in `mode` from the cleared screen.
void searchName(int mode, std::u16string_view name)
{
    tapButton(IDC_SEARCH_CLEAR);
    chooseMode(mode);
    typeInto(IDC_SEARCH_NAME, name);
    tapButton(IDC_SEARCH_RUN);
}

// The card a search opened: closed again, back on the search screen.
void leaveCard()
{
    ASSERT_EQ(frontCaption(), u"Визитка");
    driver::pressKey(VK_ESCAPE);
    EXPECT_NE(searchScreen(), nullptr);
}

// The theme box's list dropped by a tap and one of its lines tapped.
void pickThemeLine(int line)
{
    tapButton(IDC_SEARCH_THEME);
    HWND themes = frontList(IDC_SEARCH_THEME);
    RECT dropped = {};
    SendMessageW(themes, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    const int lineHeight = static_cast<int>(SendMessageW(themes, CB_GETITEMHEIGHT, 0, 0));
    driver::tap((dropped.left + dropped.right) / 2, dropped.top + 1 + lineHeight * line + lineHeight / 2);
}

class SearchScenario : public DernoloScenario {
protected:
    void install(int shops = 0)
    {
        edition = searchEdition(shops);
        refs = searchFirmRefs(edition);
        installEdition(edition, "spb.ydb");
    }

    void openScreen()
    {
        tapTile(searchTile);
        ASSERT_NE(searchScreen(), nullptr);
    }

    Edition edition;
    std::vector<uint32_t> refs;
};

TEST_F(SearchScenario, TheScreenOpensWithItsChoicesTheInputPanelUpAndAFocusedNameBox)
{
    install();
    run([&] {
        openScreen();
        EXPECT_EQ(comboLines(IDC_SEARCH_MODE),
                  (std::vector<std::u16string>{u"НАИМЕНОВАНИЕ начинается с:", u"НАИМЕНОВАНИЕ содержит:",
                                               u"ИНТЕРНЕТ-АДРЕС (www/e-mail) содержит:",
                                               u"ПРИМЕЧАНИЕ (товар,услуга) содержит:"}));
        EXPECT_EQ(fieldText(IDC_SEARCH_MODE), u"НАИМЕНОВАНИЕ начинается с:");
        EXPECT_EQ(comboLines(IDC_SEARCH_THEME), std::vector<std::u16string>{u"<<выбрать тему>>"});
        EXPECT_EQ(fieldText(IDC_SEARCH_THEME), u"<<выбрать тему>>");
        EXPECT_TRUE(shellState.inputPanelUp);
        EXPECT_EQ(GetFocus(), GetWindow(frontList(IDC_SEARCH_NAME), GW_CHILD)) << "the name is typed first";
        screenshot("search-open");

        // The telephone field takes nine digits and nothing else; the name box shows upper case.
        typeInto(IDC_SEARCH_PHONE, u"12a-3456789012");
        EXPECT_EQ(fieldText(IDC_SEARCH_PHONE), u"123456789");
        typeInto(IDC_SEARCH_NAME, u"аптека");
        EXPECT_EQ(fieldText(IDC_SEARCH_NAME), u"АПТЕКА");
        tapButton(IDC_SEARCH_CLEAR);
        EXPECT_EQ(fieldText(IDC_SEARCH_PHONE), u"");
        EXPECT_EQ(fieldText(IDC_SEARCH_NAME), u"");
        EXPECT_EQ(GetFocus(), GetWindow(frontList(IDC_SEARCH_NAME), GW_CHILD));
    });
}

TEST_F(SearchScenario, ABeginningNotInTheIndexAsksForAFragmentAndThenForTheNotes)
{
    install();
    run([&] {
        openScreen();
        // Yes to the fragment: every name holding the letters anywhere.
        searchName(0, u"здоровье");
        expectBox(u"С НАДЕЖДОЙ", fragmentQuestion, MB_YESNO | MB_ICONQUESTION, IDYES);
        expectNoBox();
        EXPECT_EQ(resultTexts(), (std::vector<std::u16string>{chemistLeninaLine, chemistMiraLine}));
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW)) << "the wait cursor outlived the search";

        // No to the fragment, Yes to the notes.
        searchName(0, u"здоровье");
        expectBox(u"С НАДЕЖДОЙ", fragmentQuestion, MB_YESNO | MB_ICONQUESTION, IDNO);
        expectBox(u"ПОСЛЕДНИЙ ШАНС", notesQuestion, MB_YESNO | MB_ICONQUESTION, IDYES);
        expectNoBox();
        EXPECT_EQ(resultTexts(), (std::vector<std::u16string>{poolLine, fitnessLine}));
        const std::vector<driver::ListLineDump> lines = shownLines(IDC_SEARCH_RESULTS);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].value, refs[pool]);
        EXPECT_EQ(lines[1].value, refs[fitness]);

        // No to both: nothing listed, nothing more said.
        searchName(0, u"здоровье");
        expectBox(u"С НАДЕЖДОЙ", fragmentQuestion, MB_YESNO | MB_ICONQUESTION, IDNO);
        expectBox(u"ПОСЛЕДНИЙ ШАНС", notesQuestion, MB_YESNO | MB_ICONQUESTION, IDNO);
        expectNoBox();
        EXPECT_TRUE(resultTexts().empty());

        // Yes to both with letters nobody has: the regret.
        searchName(0, u"жираф");
        expectBox(u"С НАДЕЖДОЙ", fragmentQuestion, MB_YESNO | MB_ICONQUESTION, IDYES);
        expectBox(u"ПОСЛЕДНИЙ ШАНС", notesQuestion, MB_YESNO | MB_ICONQUESTION, IDYES);
        expectBox(u"СОЖАЛЕНИЕ", u"НИЧЕГО НЕ НАЙДЕНО!", MB_OK | MB_ICONINFORMATION, IDOK);
        expectNoBox();
        EXPECT_NE(searchScreen(), nullptr);
    });
}

TEST_F(SearchScenario, TheOtherModesGoStraightToTheNotesQuestion)
{
    install();
    run([&] {
        openScreen();
        searchName(1, u"здоровье");
        expectNoBox();
        EXPECT_EQ(resultTexts(), (std::vector<std::u16string>{chemistLeninaLine, chemistMiraLine}));

        searchName(1, u"спорт");
        expectBox(u"ПОСЛЕДНИЙ ШАНС", notesQuestion, MB_YESNO | MB_ICONQUESTION, IDYES);
        expectNoBox();
        EXPECT_EQ(resultTexts(), (std::vector<std::u16string>{poolLine, fitnessLine}));

        searchName(1, u"спорт");
        expectBox(u"ПОСЛЕДНИЙ ШАНС", notesQuestion, MB_YESNO | MB_ICONQUESTION, IDNO);
        expectNoBox();
        EXPECT_TRUE(resultTexts().empty());

        // A note search of its own; its key is compacted, the notes only upper-cased.
        searchName(3, u"и спорт");
        expectBox(u"СОЖАЛЕНИЕ", u"НИЧЕГО НЕ НАЙДЕНО!", MB_OK | MB_ICONINFORMATION, IDOK);
        EXPECT_TRUE(resultTexts().empty()) << "ИСПОРТ is not in any note";
        searchName(3, u"спорт");
        expectNoBox();
        EXPECT_EQ(resultTexts(), (std::vector<std::u16string>{poolLine, fitnessLine}));
    });
}

TEST_F(SearchScenario, ASingleMatchOpensItsCardAtOnceAndTheLineStaysSelected)
{
    install();
    run([&] {
        openScreen();
        // An internet address: one firm, its card at once.
        searchName(2, u"pixel");
        EXPECT_EQ(frontCaption(), u"Визитка");
        EXPECT_EQ(firmReadLast(), u"Студия Пиксель");
        leaveCard();
        std::vector<driver::ListLineDump> lines = shownLines(IDC_SEARCH_RESULTS);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(lines[0].selected);
        EXPECT_EQ(lines[0].value, refs[webStudio]);

        // A telephone with leading zeros is the same number; the card opens too.
        tapButton(IDC_SEARCH_CLEAR);
        typeInto(IDC_SEARCH_PHONE, u"0012345");
        tapButton(IDC_SEARCH_RUN);
        EXPECT_EQ(frontCaption(), u"Визитка");
        EXPECT_EQ(firmReadLast(), u"Такси Город");
        leaveCard();
        EXPECT_EQ(resultTexts(), std::vector<std::u16string>{u"Такси Город"});

        // With a name as well, the telephone is not looked at.
        typeInto(IDC_SEARCH_NAME, u"жираф");
        tapButton(IDC_SEARCH_RUN);
        expectBox(u"С НАДЕЖДОЙ", fragmentQuestion, MB_YESNO | MB_ICONQUESTION, IDNO);
        expectBox(u"ПОСЛЕДНИЙ ШАНС", notesQuestion, MB_YESNO | MB_ICONQUESTION, IDNO);
        EXPECT_TRUE(resultTexts().empty());

        // A number nobody has.
        tapButton(IDC_SEARCH_CLEAR);
        typeInto(IDC_SEARCH_PHONE, u"999");
        tapButton(IDC_SEARCH_RUN);
        expectBox(u"СОЖАЛЕНИЕ", u"НИЧЕГО НЕ НАЙДЕНО!", MB_OK | MB_ICONINFORMATION, IDOK);
        EXPECT_NE(searchScreen(), nullptr);

        // Enter in a field searches, as "ИСКАТЬ" does, instead of closing the screen on the text typed.
        tapButton(IDC_SEARCH_CLEAR);
        typeInto(IDC_SEARCH_PHONE, u"0012345");
        driver::pressKey(VK_RETURN);
        EXPECT_EQ(frontCaption(), u"Визитка");
        leaveCard();
        EXPECT_EQ(fieldText(IDC_SEARCH_PHONE), u"0012345");
    });
}

TEST_F(SearchScenario, StreetsThemesAndTheConditionsMessage)
{
    install();
    run([&] {
        openScreen();
        typeInto(IDC_SEARCH_STREET, u"мира");
        tapButton(IDC_SEARCH_RUN);
        expectNoBox();
        EXPECT_EQ(resultTexts(), (std::vector<std::u16string>{chemistMiraLine, chemistOnMiraLine, cafeOnMiraLine}));

        // A theme from the rubric tree: the heading "Аптеки" filters its sub-rubric's firms too.
        tapButton(IDC_SEARCH_CHOOSE_THEME);
        ASSERT_EQ(frontCaption(), u"Желтые страницы");
        tapItem(u"Аптеки");
        ASSERT_NE(searchScreen(), nullptr);
        EXPECT_EQ(fieldText(IDC_SEARCH_THEME), u"Аптеки");
        EXPECT_EQ(comboLines(IDC_SEARCH_THEME), (std::vector<std::u16string>{u"<<выбрать тему>>", u"Аптеки"}));
        EXPECT_EQ(GetFocus(), frontList(IDC_SEARCH_RUN));
        tapButton(IDC_SEARCH_RUN);
        EXPECT_EQ(resultTexts(), (std::vector<std::u16string>{chemistMiraLine, chemistOnMiraLine}));
        screenshot("search-street-theme");

        // A name with the street: the name decides, the street filters, a firm without one fails.
        chooseMode(1);
        typeInto(IDC_SEARCH_NAME, u"аптека");
        tapButton(IDC_SEARCH_RUN);
        EXPECT_EQ(resultTexts(), (std::vector<std::u16string>{chemistMiraLine, chemistOnMiraLine}));

        // The tree left without a choice: no filter, and the box says so.
        tapButton(IDC_SEARCH_CHOOSE_THEME);
        ASSERT_EQ(frontCaption(), u"Желтые страницы");
        tapFrontBar(IDI_BAR_BACK);
        ASSERT_NE(searchScreen(), nullptr);
        EXPECT_EQ(fieldText(IDC_SEARCH_THEME), u"<<выбрать тему>>");
        EXPECT_EQ(searchState.rubricChoice.marker, 0);

        // An earlier theme picked again from the box's list filters by its own rubric.
        tapButton(IDC_SEARCH_CLEAR);
        typeInto(IDC_SEARCH_STREET, u"мира");
        tapButton(IDC_SEARCH_CHOOSE_THEME);
        tapItem(u"Аптеки");
        tapButton(IDC_SEARCH_CHOOSE_THEME);
        tapItem(u"Кафе");
        EXPECT_EQ(comboLines(IDC_SEARCH_THEME),
                  (std::vector<std::u16string>{u"<<выбрать тему>>", u"Аптеки", u"Кафе"}));
        tapButton(IDC_SEARCH_RUN);
        EXPECT_EQ(frontCaption(), u"Визитка") << "one café on МИРА";
        leaveCard();
        pickThemeLine(1);
        EXPECT_EQ(fieldText(IDC_SEARCH_THEME), u"Аптеки");
        tapButton(IDC_SEARCH_RUN);
        EXPECT_EQ(resultTexts(), (std::vector<std::u16string>{chemistMiraLine, chemistOnMiraLine}));
        // Its first line asks the tree again.
        pickThemeLine(0);
        EXPECT_EQ(frontCaption(), u"Желтые страницы");
        tapItem(u"Кафе");

        // A theme alone is no condition.
        tapButton(IDC_SEARCH_CLEAR);
        tapButton(IDC_SEARCH_CHOOSE_THEME);
        tapItem(u"Кафе");
        tapButton(IDC_SEARCH_RUN);
        expectBox(u"ЗАДАЙТЕ УСЛОВИЯ:",
                  u"Введите начало/фрагмент наименования и/или улицу, и тему, или только телефон.",
                  MB_OK | MB_ICONEXCLAMATION, IDOK);
        EXPECT_EQ(GetFocus(), GetWindow(frontList(IDC_SEARCH_NAME), GW_CHILD));

        // After clearing, no theme remains.
        tapButton(IDC_SEARCH_CLEAR);
        EXPECT_EQ(comboLines(IDC_SEARCH_THEME), std::vector<std::u16string>{u"<<выбрать тему>>"});
        typeInto(IDC_SEARCH_STREET, u"мира");
        tapButton(IDC_SEARCH_RUN);
        EXPECT_EQ(resultTexts().size(), 3u);

        // Home from the tree closes the search as well.
        tapButton(IDC_SEARCH_CHOOSE_THEME);
        tapFrontBar(IDI_BAR_HOME);
        EXPECT_EQ(GetActiveWindow(), mainWindow());
    });
}

// The screen repaints what was invalid and only that: after the search lowered the input panel,
// and when a piece across the button bar's edge and icons is invalid over a client painted black.
TEST_F(SearchScenario, ARepaintDrawsTheInvalidPartAsTheWholeScreensRepaintDoes)
{
    install();
    run([&] {
        openScreen();
        ASSERT_TRUE(shellState.inputPanelUp);
        searchName(0, u"аптек");
        ASSERT_FALSE(shellState.inputPanelUp);
        const gdi::Framebuffer afterSearch = gdi::screen();
        HWND screen = searchScreen();
        InvalidateRect(screen, nullptr, TRUE);
        driver::waitIdle();
        const gdi::Framebuffer whole = gdi::screen();
        EXPECT_TRUE(afterSearch.pixels == whole.pixels);

        RECT client{};
        GetClientRect(screen, &client);
        HDC dc = GetDC(screen);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(screen, dc);
        const RECT piece{30, client.bottom - 40, 150, client.bottom - 8};
        InvalidateRect(screen, &piece, TRUE);
        driver::waitIdle();
        POINT origin{0, 0};
        ClientToScreen(screen, &origin);
        const gdi::Framebuffer& now = gdi::screen();
        int differing = 0;
        for (int y = piece.top; y < piece.bottom; ++y)
            for (int x = piece.left; x < piece.right; ++x) {
                const size_t at = static_cast<size_t>((origin.y + y) * now.width + origin.x + x);
                differing += now.pixels[at] != whole.pixels[at];
            }
        EXPECT_EQ(differing, 0);
        const size_t outside = static_cast<size_t>((origin.y + client.bottom - 4) * now.width + origin.x + 4);
        EXPECT_EQ(now.pixels[outside], 0u) << "a pixel outside the invalid piece was painted";
    });
}

TEST_F(SearchScenario, ResultsOpenCardsTheCardsNextFirmFollowsAndHomeUnwinds)
{
    install();
    run([&] {
        openScreen();
        HWND screen = searchScreen();
        searchName(0, u"аптек");
        EXPECT_EQ(resultTexts(), (std::vector<std::u16string>{chemistLeninaLine, chemistMiraLine, chemistOnMiraLine,
                                                             u"А-птекарь"}));
        EXPECT_FALSE(shellState.inputPanelUp);
        tapLine(IDC_SEARCH_RESULTS, 2);
        EXPECT_EQ(firmReadLast(), u"Аптека на Мира");
        leaveCard();
        PostMessageW(screen, cardNextFirmMessage, 0, 0);
        driver::waitIdle();
        EXPECT_NE(fieldText(IDC_CARD_NAME).find(u"А-птекарь"), std::u16string::npos);
        leaveCard();
        // The bar's forward moves the selection only, the first line after the last.
        tapFrontBar(IDI_BAR_FORWARD);
        EXPECT_NE(searchScreen(), nullptr);
        EXPECT_TRUE(shownLines(IDC_SEARCH_RESULTS)[0].selected);

        // Help is read with the input panel down.
        tapFrontBar(IDI_BAR_KEYBOARD);
        EXPECT_TRUE(shellState.inputPanelUp);
        tapFrontBar(IDI_BAR_HELP);
        EXPECT_FALSE(shellState.inputPanelUp);
        const driver::ScreenDump dump = driver::dumpWindows();
        const driver::WindowDump* view = driver::findDumped(dump, u"DISPLAYCLASS");
        ASSERT_TRUE(view != nullptr && view->page.has_value());
        EXPECT_EQ(view->page->anchor, u"t35");
        tapFrontBar(IDI_BAR_BACK);
        EXPECT_EQ(GetActiveWindow(), screen);

        tapLine(IDC_SEARCH_RESULTS, 1);
        ASSERT_EQ(frontCaption(), u"Визитка");
        tapFrontBar(IDI_BAR_HOME);
        EXPECT_EQ(GetActiveWindow(), mainWindow());
        EXPECT_TRUE(driver::boxes().empty());
        EXPECT_EQ(streetList.entries, nullptr) << "the street list outlived the screen";
    });
}

TEST_F(SearchScenario, AThousandMatchesEndWithALineThatOpensNothing)
{
    install(1005);
    run([&] {
        openScreen();
        searchName(0, u"магазин");
        expectNoBox();
        const std::vector<driver::ListLineDump> lines = shownLines(IDC_SEARCH_RESULTS);
        ASSERT_EQ(lines.size(), 1001u);
        EXPECT_EQ(lines[0].text, u"Магазин 0000, ЛЕНИНА, 100");
        EXPECT_EQ(lines[999].text, u"Магазин 0999, ЛЕНИНА, 1099");
        EXPECT_EQ(lines[1000].text, overflowLine);
        EXPECT_EQ(lines[1000].value, -1);
        SendMessageW(frontList(IDC_SEARCH_RESULTS), LB_SETTOPINDEX, 995, 0);
        driver::waitIdle();
        tapLine(IDC_SEARCH_RESULTS, 1000);
        EXPECT_NE(searchScreen(), nullptr) << "the overflow line opened something";
        EXPECT_TRUE(shownLines(IDC_SEARCH_RESULTS)[1000].selected);
        tapLine(IDC_SEARCH_RESULTS, 999);
        EXPECT_EQ(firmReadLast(), u"Магазин 0999");
        leaveCard();

        // The name box's list stops at a hundred names, and its last line says so.
        tapButton(IDC_SEARCH_CLEAR);
        typeInto(IDC_SEARCH_NAME, u"магаз");
        const std::vector<std::u16string> names = comboLines(IDC_SEARCH_NAME);
        ASSERT_EQ(names.size(), 101u);
        EXPECT_EQ(names[99], u"Магазин 0099");
        EXPECT_EQ(names[100], u"···показаны первые 100···");
    });
}

// A second "ИСКАТЬ", the screen's close, Esc and the bar's back and home, all arriving while a
// search of a thousand lines runs: ignored, the search ends once with every line, the screen stays.
TEST_F(SearchScenario, InputDuringALongSearchIsIgnoredAndTheScreenStays)
{
    install(1005);
    run([&] {
        openScreen();
        HWND screen = searchScreen();
        typeInto(IDC_SEARCH_NAME, u"магазин");
        closeDroppedList();
        HWND run = frontList(IDC_SEARCH_RUN);
        const LPARAM button = reinterpret_cast<LPARAM>(run);
        auto barPoint = [](int iconId) {
            for (const BarSlot& slot : buttonBar.slots)
                if (slot.iconId == iconId && slot.visible)
                    return MAKELPARAM(slot.x + slot.width / 2, slot.y + slot.height / 2);
            return MAKELPARAM(0, 0);
        };
        PostMessageW(screen, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_RUN, BN_CLICKED), button);
        PostMessageW(screen, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_RUN, BN_CLICKED), button);
        PostMessageW(screen, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_CLEAR, BN_CLICKED), 0);
        PostMessageW(screen, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_CHOOSE_THEME, BN_CLICKED), 0);
        PostMessageW(screen, WM_CLOSE, 0, 0);
        PostMessageW(screen, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(screen, WM_COMMAND, IDOK, 0);
        for (int icon : {IDI_BAR_BACK, IDI_BAR_HOME, IDI_BAR_EXIT}) {
            PostMessageW(screen, WM_LBUTTONDOWN, MK_LBUTTON, barPoint(icon));
            PostMessageW(screen, WM_LBUTTONUP, 0, barPoint(icon));
        }
        driver::waitIdle();
        expectNoBox();
        EXPECT_EQ(GetActiveWindow(), screen);
        EXPECT_FALSE(driver::programEnded());
        const std::vector<std::u16string> texts = resultTexts();
        ASSERT_EQ(texts.size(), 1001u);
        EXPECT_EQ(texts.back(), overflowLine);
        EXPECT_EQ(fieldText(IDC_SEARCH_NAME), u"МАГАЗИН");
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));

        // Once it has ended, the screen answers again.
        tapFrontBar(IDI_BAR_BACK);
        EXPECT_EQ(GetActiveWindow(), mainWindow());
    });
}

TEST_F(SearchScenario, TheNameBoxCompletesOnTheFifthLetterAndTheStreetBoxOnTheThird)
{
    install();
    run([&] {
        openScreen();
        HWND name = frontList(IDC_SEARCH_NAME);
        typeInto(IDC_SEARCH_NAME, u"А-ПТЕ");
        EXPECT_TRUE(comboLines(IDC_SEARCH_NAME).empty());
        // The fifth letter after the separators are dropped: one line per run of equal names,
        // without their quotes and guillemets; the typed text stays, the caret at its end.
        driver::typeText(u"К");
        const std::vector<std::u16string> chemists = {u"Аптека Здоровье", u"Аптека на Мира", u"Аптекарь"};
        EXPECT_EQ(comboLines(IDC_SEARCH_NAME), chemists);
        EXPECT_TRUE(comboDropped(IDC_SEARCH_NAME));
        EXPECT_EQ(fieldText(IDC_SEARCH_NAME), u"А-ПТЕК");
        EXPECT_EQ(SendMessageW(name, CB_GETEDITSEL, 0, 0), MAKELONG(6, 6));
        screenshot("search-name-completion");
        // The sixth letter and deleting change nothing; typing goes on into the field.
        driver::typeText(u"А");
        EXPECT_EQ(fieldText(IDC_SEARCH_NAME), u"А-ПТЕКА");
        EXPECT_EQ(comboLines(IDC_SEARCH_NAME), chemists);
        driver::pressKey(VK_BACK);
        driver::pressKey(VK_BACK);
        EXPECT_EQ(fieldText(IDC_SEARCH_NAME), u"А-ПТЕ");
        EXPECT_EQ(comboLines(IDC_SEARCH_NAME), chemists);
        // A letter typed while fewer than five remain empties the list and keeps the text.
        driver::pressKey(VK_BACK);
        driver::typeText(u"Т");
        EXPECT_TRUE(comboLines(IDC_SEARCH_NAME).empty());
        EXPECT_FALSE(comboDropped(IDC_SEARCH_NAME));
        EXPECT_EQ(fieldText(IDC_SEARCH_NAME), u"А-ПТТ");

        // The other screens still show the stored name.
        searchName(0, u"аптек");
        EXPECT_EQ(resultTexts()[0], chemistLeninaLine);

        // Only the beginning-of-name mode completes.
        tapButton(IDC_SEARCH_CLEAR);
        chooseMode(1);
        typeInto(IDC_SEARCH_NAME, u"аптек");
        EXPECT_TRUE(comboLines(IDC_SEARCH_NAME).empty());

        typeInto(IDC_SEARCH_STREET, u"ЛЕ");
        EXPECT_TRUE(comboLines(IDC_SEARCH_STREET).empty());
        driver::typeText(u"Н");
        EXPECT_EQ(comboLines(IDC_SEARCH_STREET), (std::vector<std::u16string>{u"ЛЕНИНА", u"ЛЕНСОВЕТА"}));
        EXPECT_TRUE(comboDropped(IDC_SEARCH_STREET));
        EXPECT_EQ(fieldText(IDC_SEARCH_STREET), u"ЛЕН");
        driver::typeText(u"И");
        EXPECT_EQ(comboLines(IDC_SEARCH_STREET), (std::vector<std::u16string>{u"ЛЕНИНА", u"ЛЕНСОВЕТА"}));
        EXPECT_EQ(fieldText(IDC_SEARCH_STREET), u"ЛЕНИ");
    });
}

TEST_F(SearchScenario, TheFieldsKeepTheirPlacesAboveTheListInBothOrientations)
{
    install();
    run([&] {
        openScreen();
        auto check = [](const char* where) {
            SCOPED_TRACE(where);
            HWND screen = searchScreen();
            RECT client;
            GetClientRect(screen, &client);
            MapWindowPoints(screen, nullptr, reinterpret_cast<POINT*>(&client), 2);
            const int bottom = client.bottom - buttonBar.height;
            const RECT mode = controlRect(IDC_SEARCH_MODE);
            const RECT clear = controlRect(IDC_SEARCH_CLEAR);
            const RECT run = controlRect(IDC_SEARCH_RUN);
            const RECT results = controlRect(IDC_SEARCH_RESULTS);
            const RECT phone = controlRect(IDC_SEARCH_PHONE);
            const int centre = client.left + ((client.right - client.left) >> 1);
            EXPECT_EQ(mode.right - mode.left, client.right - client.left);
            EXPECT_EQ(run.left - centre, 4);
            EXPECT_EQ(centre - clear.right, 4);
            EXPECT_GT(clear.top, phone.bottom);
            EXPECT_EQ(results.top - clear.bottom, 4);
            EXPECT_EQ(results.bottom, bottom);
            EXPECT_EQ(results.right - results.left, client.right - client.left);
            // The theme box leaves the square "..." button its place at the right.
            const RECT choose = controlRect(IDC_SEARCH_CHOOSE_THEME);
            EXPECT_EQ(choose.right, client.right);
            EXPECT_EQ(choose.right - choose.left, mode.bottom - mode.top);
            EXPECT_EQ(choose.left - controlRect(IDC_SEARCH_THEME).right, 1);
        };
        check("portrait, panel up");
        // The panel covers the lower part of the list; the fields stay where they are.
        const RECT before = controlRect(IDC_SEARCH_RESULTS);
        tapFrontBar(IDI_BAR_KEYBOARD);
        EXPECT_FALSE(shellState.inputPanelUp);
        EXPECT_EQ(controlRect(IDC_SEARCH_RESULTS).bottom, before.bottom);
        gdi::resizeScreen(320, 240);
        shell::screenTurned(320, 240);
        driver::waitIdle();
        check("landscape");
        screenshot("search-landscape");
        // Raised on the turned screen the panel covers the buttons and most of the list: the
        // layout does not make room for it, in either orientation.
        tapFrontBar(IDI_BAR_KEYBOARD);
        EXPECT_TRUE(shellState.inputPanelUp);
        check("landscape, panel up");
        screenshot("search-landscape-panel");
    });
}

}  // namespace
