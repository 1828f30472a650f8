#include "tests/scenarios/card_scenario.h"

#include "card/business_card.h"
#include "platform/testing/windows.h"

namespace dernolo_test {

namespace {

// Private to the test: "open the card of the firm at position wParam".
constexpr UINT openCardMessage = WM_APP + 14;

struct Opener {
    std::vector<uint32_t> firmRefs;
    size_t position = 0;
    WNDPROC homeProc = nullptr;
    int opened = 0;
    INT_PTR lastResult = 0;
};

Opener opener;

LRESULT CALLBACK openerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == openCardMessage) {
        opener.position = static_cast<size_t>(wParam) % opener.firmRefs.size();
        ++opener.opened;
        opener.lastResult = openBusinessCard(window, opener.firmRefs[opener.position]);
        return 0;
    }
    if (message == cardNextFirmMessage) {
        PostMessageW(window, openCardMessage, (opener.position + 1) % opener.firmRefs.size(), 0);
        return 0;
    }
    return CallWindowProcW(opener.homeProc, window, message, wParam, lParam);
}

EditionRubric rubric(const std::string& code, std::u16string_view title, std::vector<uint32_t> firms)
{
    EditionRubric r;
    r.code = code;
    r.title = cp1251(title);
    r.firms = std::move(firms);
    return r;
}

const char16_t helpPage[] = u"<html><body><p>Справка</p><p style=\"height:900px\">.</p>"
                           u"<a name=\"t2\"></a><p>Визитка</p></body></html>";

}  // namespace

Edition cardEdition()
{
    Edition e;
    e.title = cp1251(u"Справочник\r\nВизитки");
    e.cityLetter = 'P';
    e.rubrics = {rubric("01", u"Аптеки", {firmHorns}), rubric("02", u"Юристы", {firmHorns, firmThird}),
                 rubric("03", u"аптеки", {firmHorns}), rubric("04", u"Киоски", {firmKiosk}),
                 rubric("05", u"Ярмарки, выставки и торговые павильоны", {firmThird}),
                 rubric("06", u"Ясли, детские сады и развивающие центры", {firmThird})};
    e.streets = {{cp1251(u"НЕВ"), cp1251(u"Невский пр."), {firmHorns, firmThird}}};
    e.firms.resize(cardFirmCount);

    EditionFirm& horns = e.firms[firmHorns];
    horns.name = cp1251(u"Рога & Копыта");
    horns.namePrefix = cp1251(u"ООО");
    horns.street = 0;
    horns.houseSuffix = "2";
    horns.phone = cp1251(u"325-00-00 ф");
    horns.phones = cp1251(u"325-00-00,(495) 123-45-67, 12-345-678");
    horns.web = "http://www.roga.ru/price; www.other.ru";
    horns.email = "  info@roga.ru";
    horns.hours = cp1251(u"Пн-Пт 9-18, обед 13-14, суббота и воскресенье выходные");
    horns.rubricCodes = "|01|02|03|";
    horns.comment = cp1251(u"|02|юр|$Первая консультация бесплатно|01|x|$Круглосуточно|02|y|$Скидки пенсионерам|");

    EditionFirm& kiosk = e.firms[firmKiosk];
    kiosk.name = cp1251(u"Ларёк у метро");
    kiosk.phone = "12";
    kiosk.web = "localhost";
    kiosk.rubricCodes = "|04|";
    kiosk.comment = "|04|no note here";

    EditionFirm& third = e.firms[firmThird];
    third.name = cp1251(u"Третья фирма");
    third.street = 0;
    third.house = 10000;
    third.houseSuffix = cp1251(u"Б");
    third.phone = "(812) 555-66-77";
    third.email = "a@b.ru";
    third.web = "-firm.ru";  // no host begins with "-": the browser refuses it
    third.rubricCodes = "|02|05|06|";
    // Notes under keys of other rubrics: "05" does not occur, "06" occurs without a note.
    third.comment = cp1251(u"|01|a|$Для аптек|06|b|");

    e.chunks.push_back({ChunkKind::help, cp1251(helpPage)});
    return e;
}

void CardScenario::SetUp()
{
    DernoloScenario::SetUp();
    opener = Opener{};
    std::string error;
    ASSERT_EQ(writeEdition(cardEdition(), image, error), writeOk) << error;
    installEdition(cardEdition(), "cards.ydb");
}

void CardScenario::installOpener(const std::vector<CardFirm>& order)
{
    opener.firmRefs.clear();
    for (const CardFirm firm : order)
        opener.firmRefs.push_back(image.firmRefs[firm]);
    opener.opened = 0;
    opener.lastResult = 0;
    HWND home = mainWindow();
    opener.homeProc = reinterpret_cast<WNDPROC>(GetWindowLongW(home, GWL_WNDPROC));
    SetWindowLongW(home, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&openerProc));
}

void CardScenario::openCard(size_t position)
{
    PostMessageW(mainWindow(), openCardMessage, position, 0);
    driver::waitIdle();
}

int cardsOpened() { return opener.opened; }
INT_PTR lastCardResult() { return opener.lastResult; }

HWND cardWindow()
{
    return driver::findWindow(u"", u"Визитка");
}

driver::WindowDump cardControl(int controlId)
{
    const driver::ScreenDump dump = driver::dumpWindows();
    const driver::WindowDump* card = driver::findDumped(dump, u"", u"Визитка");
    const driver::WindowDump* control = card != nullptr ? driver::findDumpedControl(*card, controlId) : nullptr;
    if (control == nullptr) {
        driver::fail("the card shows no control " + std::to_string(controlId));
        return {};
    }
    return *control;
}

void tapControl(int controlId, int dy)
{
    const driver::WindowDump control = cardControl(controlId);
    const RECT& r = control.rect;
    driver::tap((r.left + r.right) / 2, dy < 0 ? (r.top + r.bottom) / 2 : r.top + dy);
}

}  // namespace dernolo_test
