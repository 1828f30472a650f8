#include "tests/scenarios/search_edition.h"

#include "tests/scenarios/firm_lists_edition.h"

#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"
#include "win32/controls.h"

#include <cstdio>

namespace dernolo_test {

namespace {

EditionFirm firm(std::u16string_view name, uint32_t street, uint32_t house, const char* codes)
{
    EditionFirm f;
    f.name = cp1251(name);
    f.street = street;
    f.house = house;
    f.rubricCodes = codes;
    return f;
}

EditionRubric rubric(const char* code, std::u16string_view title, std::vector<uint32_t> firms)
{
    EditionRubric r;
    r.code = code;
    r.title = cp1251(title);
    r.firms = std::move(firms);
    return r;
}

EditionStreet street(const char* key, std::u16string_view name)
{
    EditionStreet s;
    s.key = cp1251(std::u16string(key, key + std::char_traits<char>::length(key)));
    s.name = cp1251(name);
    return s;
}

enum : uint32_t { lenina, lensoveta, mira, nevsky };

// Help with the search's anchor far enough down that a jump to it is seen.
EditionChunk help()
{
    EditionChunk chunk;
    chunk.kind = ChunkKind::help;
    chunk.bytes = "<html><body><p>top</p><div style=\"height:600px\"></div><a name=\"t35\"></a><p>t35</p>"
                  "<div style=\"height:600px\"></div></body></html>";
    return chunk;
}

}  // namespace

Edition searchEdition(int shops)
{
    Edition e;
    e.title = "Search";
    e.streets = {street("", u"ЛЕНИНА"), street("", u"ЛЕНСОВЕТА"), street("", u"МИРА"), street("", u"НЕВСКИЙ ПР.")};
    e.streets[lenina].key = cp1251(u"ЛЕН");
    e.streets[lensoveta].key = cp1251(u"ЛЕН");
    e.streets[mira].key = cp1251(u"МИР");
    e.streets[nevsky].key = cp1251(u"НЕВ");

    e.firms.resize(searchFirmCount);
    e.firms[chemistLenina] = firm(u"Аптека «Здоровье»", lenina, 12, "|01|");
    e.firms[chemistLenina].houseSuffix = cp1251(u"А");
    e.firms[chemistMira] = firm(u"Аптека «Здоровье»", mira, 3, "|0101|");
    e.firms[chemistOnMira] = firm(u"Аптека на Мира", mira, 5, "|0101|");
    e.firms[chemistDash] = firm(u"А-птекарь", noStreet, 0, "|01|");
    e.firms[cafe] = firm(u"Кафе «Ромашка»", nevsky, 1, "|02|");
    e.firms[cafeOnMira] = firm(u"Пиццерия у Мира", mira, 7, "|02|");
    e.firms[cafeOnMira].comment = cp1251(u"Доставка: пицца, салаты");
    e.firms[webStudio] = firm(u"Студия Пиксель", noStreet, 0, "");
    e.firms[webStudio].web = "www.pixel.example";
    e.firms[webStudio].email = "info@pixel.example";
    e.firms[fitness] = firm(u"Фитнес Атлант", lensoveta, 2, "");
    e.firms[fitness].comment = cp1251(u"Здоровье и спорт");
    e.firms[pool] = firm(u"Бассейн Волна", noStreet, 0, "");
    e.firms[pool].comment = cp1251(u"здоровье и спорт");
    e.firms[taxi] = firm(u"Такси Город", noStreet, 0, "");
    e.firms[taxi].phone = "12345";
    e.phones = {{taxiNumber, taxi}};
    for (int i = 0; i < shops; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%04d", i);
        e.firms.push_back(firm(u"Магазин " + std::u16string(name, name + 4), lenina, static_cast<uint32_t>(100 + i), ""));
        e.streets[lenina].firms.push_back(static_cast<uint32_t>(e.firms.size() - 1));
    }
    e.streets[lenina].firms.insert(e.streets[lenina].firms.begin(), chemistLenina);
    e.streets[lensoveta].firms = {fitness};
    e.streets[mira].firms = {chemistMira, chemistOnMira, cafeOnMira};
    e.streets[nevsky].firms = {cafe};
    e.rubrics = {rubric("01", u"Аптеки", {chemistLenina, chemistDash}),
                 rubric("0101", u"Круглосуточные аптеки", {chemistMira, chemistOnMira}),
                 rubric("02", u"Кафе", {cafe, cafeOnMira})};
    e.chunks.push_back(help());
    return e;
}

std::vector<uint32_t> searchFirmRefs(const Edition& edition)
{
    return firmRefsOf(edition);
}

HWND searchScreen()
{
    HWND front = GetActiveWindow();
    return front != nullptr && driver::windowText(front) == u"Поиск" ? front : nullptr;
}

void closeDroppedList()
{
    // A dropped list keeps the stylus: a tap outside it (on its own field, which it never covers)
    // only closes it.
    for (int id : {IDC_SEARCH_NAME, IDC_SEARCH_STREET})
        if (comboDropped(id)) {
            const RECT r = controlRect(id);
            driver::tap(r.left + 8, (r.top + r.bottom) / 2);
        }
}

void typeInto(int controlId, std::u16string_view text)
{
    const RECT r = controlRect(controlId);
    closeDroppedList();
    // The left part of a combo box is its edit field; its button is at the right.
    driver::tap(r.left + 8, (r.top + r.bottom) / 2);
    driver::typeText(text);
}

void tapButton(int controlId)
{
    const RECT r = controlRect(controlId);
    closeDroppedList();
    driver::tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void chooseMode(int mode)
{
    SendMessageW(frontList(IDC_SEARCH_MODE), CB_SETCURSEL, static_cast<WPARAM>(mode), 0);
}

std::vector<std::u16string> resultTexts()
{
    std::vector<std::u16string> texts;
    for (const driver::ListLineDump& line : shownLines(IDC_SEARCH_RESULTS))
        texts.push_back(line.text);
    return texts;
}

std::vector<std::u16string> comboLines(int controlId)
{
    HWND box = frontList(controlId);
    std::vector<std::u16string> lines;
    const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        WCHAR text[256] = {};
        SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}

std::u16string fieldText(int controlId)
{
    return driver::windowText(frontList(controlId));
}

bool comboDropped(int controlId)
{
    return SendMessageW(frontList(controlId), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

}  // namespace dernolo_test
