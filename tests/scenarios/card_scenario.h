// The business card driven as a user drives it, opened without the list screens: the test puts a
// small opener in front of the home screen's window procedure that opens the card of a firm on a
// posted message and answers the card's "next firm" by opening the next one of its own list,
// wrapping to the first, as a list screen does. Firms of every kind the card must show.
#pragma once

#include "tests/scenarios/dernolo_fixture.h"

#include "platform/testing/window_dump.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dernolo_test {

// Edition firm indices.
enum CardFirm : uint32_t { firmHorns = 0, firmKiosk = 1, firmThird = 2, cardFirmCount = 3 };

Edition cardEdition();

class CardScenario : public DernoloScenario {
protected:
    void SetUp() override;

    // Inside the body: the opener put in front of the home screen, over the firms in `order`.
    void installOpener(const std::vector<CardFirm>& order);
    // Inside the body: the card of the opener's firm at `position` opened, the program run to idle.
    void openCard(size_t position);

    DatabaseImage image;
};

// What the opener saw: cards opened and the result of the last one (-1: not opened).
int cardsOpened();
INT_PTR lastCardResult();

// The card window in front, or null.
HWND cardWindow();
// A control of the card as the window dump shows it; a failure when it is not shown.
driver::WindowDump cardControl(int controlId);
// A tap in the middle of a card control, or at `dy` pixels below its top.
void tapControl(int controlId, int dy = -1);

}  // namespace dernolo_test
