// An edition for the rubric tree: a heading with two rubrics under it, two rubrics under one code,
// a rubric only in the hierarchy, one only in the flat list, and help with the tree's anchor; and
// the helpers that find, tap and hold the tree's items as a user does.
#pragma once

#include "tests/scenarios/dernolo_fixture.h"

#include "platform/testing/window_dump.h"
#include "win32.h"

#include <string>
#include <vector>

namespace dernolo_test {

constexpr int themesTile = 2;
constexpr int rubricsTile = 3;

// Table indices of the edition's rubrics (entry 0 is the root).
constexpr int carsIndex = 1;      // "Автомобили", a heading
constexpr int serviceIndex = 2;   // "Автосервисы"
constexpr int banksIndex = 4;     // "Банки"
constexpr int cashIndex = 5;      // "Банкоматы", the same code as "Банки"

Edition rubricTreeEdition();

class RubricTreeScenario : public DernoloScenario {
protected:
    void SetUp() override;
};

// The rubric tree in front, or null.
HWND treeScreen();
HWND treeControl();
// The firm list screen in front, or null.
HWND firmListScreen();
// The tree's items as the dump shows them (the items of collapsed branches left out).
std::vector<driver::TreeItemDump> shownItems();
std::u16string selectedItem();

// The middle of the item's label on the screen; the item must be shown.
POINT itemPoint(std::u16string_view text);
void tapItem(std::u16string_view text);
// The middle of the item's [+] or [-] sign on the screen.
POINT expandSignPoint(std::u16string_view text);
// The stylus held still at a screen point until the tree takes it as tap-and-hold, then lifted;
// a box the hold opens is answered with `answer` first.
void holdAt(POINT point, int answer);
}  // namespace dernolo_test
