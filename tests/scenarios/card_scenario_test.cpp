// The business card as a user walks it: what it shows for a firm (an "&" in the name, house 0 and
// 10000 with a suffix, "ф" telephones, duplicate rubric titles, the sorted list), in both
// orientations; dialling on a phone, without the telephone library and with a library without its
// export; the web site, the mail program and the rubric notes; the next firm wrapping to the first;
// help at its anchor and home.
#include "tests/scenarios/card_scenario.h"

#include "card/html_pane.h"
#include "db/database.h"
#include "db/database_program.h"
#include "emulator.h"
#include "platform/gdi/screen.h"
#include "platform/host/phone.h"
#include "platform/shell/shell.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/button_bar.h"
#include "shell/shell_state.h"
#include "win32/controls.h"

#include <algorithm>

namespace {

using namespace dernolo_test;

std::vector<std::u16string> lineTexts(const driver::WindowDump& control)
{
    std::vector<std::u16string> texts;
    if (control.lines)
        for (const driver::ListLineDump& line : *control.lines)
            texts.push_back(line.text);
    return texts;
}

size_t journalCount(const std::string& prefix)
{
    const std::vector<std::string> lines = emu::journal();
    return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.rfind(prefix, 0) == 0;
    }));
}

std::string lastJournal()
{
    const std::vector<std::string> lines = emu::journal();
    return lines.empty() ? std::string() : lines.back();
}

// The box open now has this caption and text; it is answered.
void expectBox(std::u16string_view caption, std::u16string_view text, int answer = IDOK)
{
    const std::optional<driver::BoxRecord> box = driver::openBox();
    if (!box) {
        driver::fail("no box " + emu::toUtf8(caption));
        return;
    }
    EXPECT_EQ(box->caption, caption);
    if (!text.empty()) {
        EXPECT_EQ(box->text, text);
    }
    driver::answerBox(answer);
}

// The drop-down opened with a tap and a line of it tapped (its lines all fit, each alike high).
void selectTelephone(int index)
{
    tapControl(IDC_CARD_TELEPHONES);
    const driver::ScreenDump dump = driver::dumpWindows();
    const driver::WindowDump* dropped = driver::findDumped(dump, u"LISTBOX");
    if (dropped == nullptr || !dropped->lines || dropped->lines->empty()) {
        driver::fail("the telephones did not drop down");
        return;
    }
    const RECT& r = dropped->rect;
    const int lineHeight = (r.bottom - r.top - 2) / static_cast<int>(dropped->lines->size());
    driver::tap((r.left + r.right) / 2, r.top + 1 + lineHeight * index + lineHeight / 2);
    EXPECT_EQ(SendMessageW(driver::findControl(cardWindow(), IDC_CARD_TELEPHONES), CB_GETCURSEL, 0, 0), index);
}


TEST_F(CardScenario, ShowsTheFirmInBothOrientations)
{
    run([this] {
        installOpener({firmHorns, firmKiosk, firmThird});
        openCard(0);
        ASSERT_NE(cardWindow(), nullptr);
        EXPECT_EQ(buttonBar.mode, 1);
        EXPECT_EQ(cardControl(IDC_CARD_NAME).text, u"ООО Рога && Копыта") << "the & doubled to show as one";
        EXPECT_EQ(cardControl(IDC_CARD_ADDRESS).text, u" Невский пр./2") << "house 0: the suffix alone";
        EXPECT_EQ(cardControl(IDC_CARD_WEB).text, u" http://www.roga.ru/price; www.other.ru");
        EXPECT_EQ(cardControl(IDC_CARD_EMAIL).text, u"   info@roga.ru");

        const driver::WindowDump phones = cardControl(IDC_CARD_TELEPHONES);
        EXPECT_EQ(lineTexts(phones), (std::vector<std::u16string>{u"   325-00-00 ", u"   325-00-00 ф",
                                                                   u"   (495) 123-45-67", u"    12-345-678"}));
        ASSERT_TRUE(phones.lines && !phones.lines->empty());
        EXPECT_TRUE(phones.lines->front().selected);

        // Sorted: the hours line between the titles; "аптеки" repeats "Аптеки" and has no line.
        const std::u16string hours = u"Пн-Пт 9-18, обед 13-14, суббота и воскресенье выходные";
        const driver::WindowDump list = cardControl(IDC_CARD_LIST);
        EXPECT_EQ(lineTexts(list), (std::vector<std::u16string>{u"Аптеки", hours, u"Юристы"}));
        ASSERT_TRUE(list.lines && list.lines->size() == 3);
        EXPECT_EQ((*list.lines)[0].value, (7 << 16) | 1);
        EXPECT_EQ((*list.lines)[1].value, static_cast<LONG_PTR>((hours.size() + 1) << 16));
        EXPECT_EQ((*list.lines)[2].value, (7 << 16) | 2);
        screenshot("card-portrait");

        for (const auto& [width, height] : {std::pair{320, 240}, std::pair{240, 320}}) {
            turnScreen(width, height);
            RECT client;
            GetClientRect(cardWindow(), &client);
            POINT origin = {0, 0};
            ClientToScreen(cardWindow(), &origin);
            const RECT name = cardControl(IDC_CARD_NAME).rect;
            const RECT address = cardControl(IDC_CARD_ADDRESS).rect;
            const RECT dial = cardControl(IDC_CARD_DIAL).rect;
            const RECT listRect = cardControl(IDC_CARD_LIST).rect;
            EXPECT_EQ(name.top, origin.y + 2);
            EXPECT_EQ(name.right - name.left, client.right + 1) << "the name spans the window";
            EXPECT_EQ(address.top, name.bottom + 1);
            EXPECT_EQ(address.left, origin.x + 59);
            // 14 % of the content's height: on the turned screen lower than the 37-pixel icon.
            EXPECT_EQ(address.bottom - address.top, 14 * (client.bottom - buttonBar.height) / 100);
            EXPECT_EQ(dial.top, address.bottom + 8);
            EXPECT_EQ(listRect.bottom, origin.y + client.bottom - buttonBar.height) << "down to the bar";
            if (width > height)
                screenshot("card-landscape");
        }
    });
}

TEST_F(CardScenario, DialsEveryKindOfNumberOnAPhone)
{
    host::installPhoneProfile();
    run([this] {
        installOpener({firmHorns, firmKiosk, firmThird});
        openCard(0);
        tapControl(IDC_CARD_DIAL);
        expectBox(u"Телефон", u"Позвонить по номеру 3250000?", IDYES);
        EXPECT_EQ(lastJournal(), "call tel:3250000") << "the number before the ф";
        selectTelephone(2);
        tapControl(IDC_CARD_DIAL);
        expectBox(u"Телефон", u"", IDYES);
        EXPECT_EQ(lastJournal(), "call tel:84951234567") << "a bracketed code gets its 8";
        selectTelephone(3);
        tapControl(IDC_CARD_DIAL);
        expectBox(u"Телефон", u"", IDYES);
        EXPECT_EQ(lastJournal(), "call tel:+712345678") << "eight digits are a number of the country";

        tapBar(cardWindow(), IDI_BAR_FORWARD);
        EXPECT_EQ(cardControl(IDC_CARD_NAME).text, u" Ларёк у метро");
        tapControl(IDC_CARD_DIAL);
        EXPECT_FALSE(driver::openBox()) << "two digits dial nothing";
        EXPECT_EQ(journalCount("call "), 3u);

        tapBar(cardWindow(), IDI_BAR_FORWARD);
        tapControl(IDC_CARD_DIAL);
        expectBox(u"Телефон", u"", IDYES);
        EXPECT_EQ(lastJournal(), "call tel:8125556677") << "a code beginning with 8 keeps its own";
    });
    host::removePhoneProfile();
}

TEST_F(CardScenario, WithoutTheTelephoneLibraryRefusesOnceAndDisablesTheButton)
{
    run([this] {
        installOpener({firmHorns});
        openCard(0);
        tapControl(IDC_CARD_DIAL);
        expectBox(u"ОТКАЗ", u"Эта возможность поддерживается только в коммуникаторах!");
        EXPECT_FALSE(cardControl(IDC_CARD_DIAL).enabled);
        tapControl(IDC_CARD_DIAL);
        EXPECT_FALSE(driver::openBox());
        EXPECT_EQ(journalCount("call "), 0u);
    });
}

TEST_F(CardScenario, ALibraryWithoutTheExportRefusesEveryTime)
{
    emu::registerLibrary(u"phone.dll", {});
    run([this] {
        installOpener({firmHorns});
        openCard(0);
        for (int i = 0; i < 2; ++i) {
            tapControl(IDC_CARD_DIAL);
            expectBox(u"ОТКАЗ", u"Эта возможность поддерживается только в коммуникаторах!");
            EXPECT_TRUE(cardControl(IDC_CARD_DIAL).enabled);
        }
    });
    emu::unregisterLibrary(u"phone.dll");
}

TEST_F(CardScenario, OpensTheSiteWritesAndShowsNotesThenLeafsToTheFirstAgain)
{
    run([this] {
        installOpener({firmHorns, firmKiosk, firmThird});
        openCard(0);
        ASSERT_NE(databaseProgram.current, nullptr);
        tapControl(IDC_CARD_WEB);
        EXPECT_EQ(lastJournal(), "browser http://www.roga.ru/price") << "the scheme and the second address dropped";
        EXPECT_EQ(databaseProgram.current->window, nullptr) << "the read window given to the browser";
        tapControl(IDC_CARD_WEB_BUTTON);
        EXPECT_EQ(journalCount("browser "), 2u);

        tapControl(IDC_CARD_EMAIL_BUTTON);
        EXPECT_EQ(lastJournal().rfind("mail mailto:info@roga.ru?subject=", 0), 0u) << lastJournal();
        tapControl(IDC_CARD_EMAIL);
        EXPECT_EQ(journalCount("mail "), 2u);

        // The first line: the notes under its key; the hours line is too long to read, so it is
        // shown whole; the third: two notes under one key.
        tapControl(IDC_CARD_LIST, 4);
        expectBox(u"ПРИМЕЧАНИЕ", u"Круглосуточно");
        driver::pressKey(VK_DOWN);
        expectBox(u"ПРИМЕЧАНИЕ", u"Пн-Пт 9-18, обед 13-14, суббота и воскресенье выходные");
        driver::pressKey(VK_DOWN);
        expectBox(u"ПРИМЕЧАНИЕ", u"Первая консультация бесплатно\r\n\r\nСкидки пенсионерам");
        screenshot("card-notes");

        tapBar(cardWindow(), IDI_BAR_FORWARD);
        EXPECT_EQ(cardControl(IDC_CARD_ADDRESS).text, u" ") << "a firm without a street";
        const size_t started = emu::journal().size();
        tapControl(IDC_CARD_WEB_BUTTON);
        tapControl(IDC_CARD_EMAIL_BUTTON);
        tapControl(IDC_CARD_LIST, 4);
        EXPECT_FALSE(driver::openBox()) << "no host, no address, a key without a note";
        EXPECT_EQ(emu::journal().size(), started);

        tapBar(cardWindow(), IDI_BAR_FORWARD);
        EXPECT_EQ(cardControl(IDC_CARD_ADDRESS).text, u" Невский пр./Б") << "house 10000: the suffix alone";
        tapControl(IDC_CARD_WEB);
        const std::optional<driver::BoxRecord> refused = driver::openBox();
        ASSERT_TRUE(refused.has_value()) << "a text the browser cannot open";
        EXPECT_EQ(refused->caption, u"PROC:");
        EXPECT_EQ(refused->style & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
        driver::answerBox(IDOK);

        tapBar(cardWindow(), IDI_BAR_FORWARD);
        EXPECT_EQ(cardControl(IDC_CARD_NAME).text, u"ООО Рога && Копыта") << "after the last, the first";
        EXPECT_EQ(cardsOpened(), 4);
    });
}

TEST_F(CardScenario, ALongRubricLineIsShownWholeOnlyWhenTheCommentHoldsItsKey)
{
    run([this] {
        installOpener({firmThird});
        openCard(0);
        const driver::WindowDump list = cardControl(IDC_CARD_LIST);
        ASSERT_EQ(lineTexts(list), (std::vector<std::u16string>{u"Юристы", u"Ярмарки, выставки и торговые павильоны",
                                                                 u"Ясли, детские сады и развивающие центры"}));
        tapControl(IDC_CARD_LIST, 4);
        EXPECT_FALSE(driver::openBox()) << "a short line without a key";
        driver::pressKey(VK_DOWN);
        EXPECT_FALSE(driver::openBox()) << "a long line whose key the comment does not hold";
        driver::pressKey(VK_DOWN);
        expectBox(u"ПРИМЕЧАНИЕ", u"Ясли, детские сады и развивающие центры");  // its key, but no note
    });
}

TEST_F(CardScenario, HelpAtItsAnchorThenHomeClosesTheCard)
{
    run([this] {
        installOpener({firmHorns});
        openCard(0);
        tapBar(cardWindow(), IDI_BAR_HELP);
        ASSERT_NE(pageViewer.currentPane, nullptr);
        EXPECT_EQ(shellState.homePageIndex, -3);
        const driver::WindowDump* view = nullptr;
        const driver::ScreenDump dump = driver::dumpWindows();
        view = driver::findDumped(dump, u"DISPLAYCLASS");
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(view->page.has_value());
        EXPECT_EQ(view->page->anchor, u"t2");
        screenshot("card-help");
        tapBar(cardWindow(), IDI_BAR_BACK);
        EXPECT_EQ(pageViewer.currentPane, nullptr);
        ASSERT_NE(cardWindow(), nullptr) << "back closes the page, not the card";

        tapBar(cardWindow(), IDI_BAR_BACK);
        EXPECT_EQ(cardWindow(), nullptr);
        EXPECT_NE(shellState.returnHomeMarker, 189);
        EXPECT_EQ(lastCardResult(), IDOK);

        openCard(0);
        tapBar(cardWindow(), IDI_BAR_HOME);
        EXPECT_EQ(cardWindow(), nullptr);
        EXPECT_EQ(shellState.returnHomeMarker, 189) << "the screens below close in turn";
        EXPECT_EQ(buttonBar.mode, 0) << "the bar's mode put back";
        shellState.returnHomeMarker = 0;
    });
}

}  // namespace
