// Opening a firm's business card from a list: the firm read with its street and details, then the
// card over the list screen, which asks its owner for the next firm with cardNextFirmMessage.
#pragma once

#include <cstdint>

#include "card/business_card.h"
#include "win32.h"

// Reads the firm at `firmRef` (table 3) with its street and details into the database's firm
// slots, as the card expects them. 0, or the reader's failure code (nothing to show).
int32_t readFirmForCard(uint32_t firmRef);

// The business card of the firm read last, modal over `owner`.
void openFirmCard(HWND owner);
