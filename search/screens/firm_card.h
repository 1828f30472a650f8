// Opening a firm's business card from a list: the firm read with its street and details, then the
// card over the list screen. The card asks its owner for the next firm with nextFirmMessage.
#pragma once

#include <cstdint>

#include "win32.h"

// Posted by the business card to the screen that opened it: show the card of the next line.
constexpr UINT nextFirmMessage = WM_USER + 102;

// Reads the firm at `firmRef` (table 3) with its street and details into the database's firm
// slots, as the card expects them. 0, or the reader's failure code (nothing to show).
int32_t readFirmForCard(uint32_t firmRef);

// The business card of the firm read last, modal over `owner`.
void openFirmCard(HWND owner);
