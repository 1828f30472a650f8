// An edition for the search screen: chemists with branches and a name of separators, cafés, a web
// studio, notes of goods and services, streets that share a key, telephones, themes one inside
// another, and optionally a run of generated shops long enough to reach the search's line limit.
// The helpers drive the screen's fields the way a user fills them.
#pragma once

#include "tests/scenarios/dernolo_fixture.h"

#include "platform/testing/window_dump.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dernolo_test {

constexpr int searchTile = 5;

// Edition firm indices of the firms the tests look for.
enum SearchFirm : uint32_t {
    chemistLenina,   // "Аптека «Здоровье»", ЛЕНИНА 12/А, theme Аптеки
    chemistMira,     // its branch on МИРА 3, theme Круглосуточные аптеки
    chemistOnMira,   // "Аптека на Мира", МИРА 5, theme Круглосуточные аптеки
    chemistDash,     // "А-птекарь", no street
    cafe,            // "Кафе «Ромашка»", НЕВСКИЙ ПР. 1, theme Кафе
    cafeOnMira,      // "Пиццерия у Мира", МИРА 7, theme Кафе, note of pizza
    webStudio,       // "Студия Пиксель", www.pixel.example, no street
    fitness,         // "Фитнес Атлант", ЛЕНСОВЕТА 2, note "Здоровье и спорт"
    pool,            // "Бассейн Волна", no street, note "здоровье и спорт"
    taxi,            // "Такси Город", telephone 12345
    searchFirmCount
};

constexpr uint32_t taxiNumber = 12345;

// The rubric indices (RubricTable index = edition index + 1) and their titles.
constexpr int chemistsRubric = 0;      // code "01"
constexpr int allNightRubric = 1;      // code "0101", below the chemists
constexpr int cafesRubric = 2;         // code "02"

// With `shops` > 0, that many firms "Магазин nnnn" on ЛЕНИНА, theme Кафе none.
Edition searchEdition(int shops = 0);

// The table 3 reference of each edition firm, by index.
std::vector<uint32_t> searchFirmRefs(const Edition& edition);

// The search screen is the front window.
HWND searchScreen();
// A tap in the edit part of a field, then the text typed into it one character at a time.
void typeInto(int controlId, std::u16string_view text);
// A completion list dropped over the screen closed the way a user closes it.
void closeDroppedList();
// A tap on a button of the search screen ("ИСКАТЬ", "ОЧИСТИТЬ", "...").
void tapButton(int controlId);
// The mode box set to `mode` as its list would set it.
void chooseMode(int mode);
// The texts of the result list (or a combo box's lines) as shown.
std::vector<std::u16string> resultTexts();
std::vector<std::u16string> comboLines(int controlId);
std::u16string fieldText(int controlId);
bool comboDropped(int controlId);

}  // namespace dernolo_test
