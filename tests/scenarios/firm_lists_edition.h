// Editions for the firm list and the white pages: a rubric whose firms show every form of address
// line, found by the police tile's caption; and white pages whose two-letter runs join by distance
// and by equal pairs, one of them longer than the list's limit.
#pragma once

#include "tests/scenarios/dernolo_fixture.h"

#include "platform/testing/window_dump.h"
#include "win32.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dernolo_test {

// The police tile on the telephones page opens the rubric "Милиция" of this edition.
constexpr int telephonesTile = 9;
constexpr int policeTile = 26;
constexpr int rescueTile = 25;  // its rubric has an empty firm list
constexpr int catalogueTile = 1;

// The rubric's firms in list order, and the lines the list shows for them.
struct AddressEdition {
    Edition edition;
    std::vector<std::u16string> lines;
    std::vector<uint32_t> firmRefs;  // table 3 references of the rubric's firms, in list order
};
AddressEdition addressEdition();

// White pages of `fillers` firms "АВВ nnn" after "ААА", "АББ" and "АВВ", then 300 "БББ nnn" and
// 300 "ДДД nnn": index lines АА, ББ, ДД. With `overflow`, 10050 "ЖЖЖ nnnnn" instead of the "БББ".
Edition letterEdition(int fillers, bool overflow);

// The table 3 references of an edition's firms, by edition index.
std::vector<uint32_t> firmRefsOf(const Edition& edition);

// The front screen's list with this control identifier, or null.
HWND frontList(int controlId);
// The lines of that list as the window dump shows them.
std::vector<driver::ListLineDump> shownLines(int controlId);
// A stylus tap in the middle of line `line` of the list (it must be visible).
void tapLine(int controlId, int line);
// The name of the firm the database's firm slot holds (read last), as UTF-16.
std::u16string firmReadLast();
// The rectangle of a control of the front screen on the screen.
RECT controlRect(int controlId);

}  // namespace dernolo_test
