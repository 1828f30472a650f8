// The business card (dialog template 132): one firm's name, address, telephones, web and e-mail
// addresses, and a sorted list of its opening hours and rubric titles, with the buttons that dial,
// open the site and write, the rubric notes on a tap of a list line, and the next firm on the bar's
// forward button.
//
// How a list screen opens it:
//   if (openBusinessCard(dialog, firmRef) >= 0 && closeIfReturningHome(dialog, frame)) return;
// or, having read the firm itself (table 3, detail 7, at most 10240 bytes), showBusinessCard(dialog).
// The card shows what the current database's firm and details slots hold when it opens. Its forward
// button (with no page open) posts cardNextFirmMessage to the owner and closes the card: the owner
// answers by selecting its next line (wrapping to the first) and opening that firm's card. Its home
// button leaves shellState.returnHomeMarker at 189 for the screens below to close in turn.
#pragma once

#include "win32.h"

#include <cstdint>

// 1126: posted by the card to its owner, "show the next firm's card".
constexpr UINT cardNextFirmMessage = WM_USER + 102;

INT_PTR CALLBACK businessCardProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The card of the firm read last, modal over `owner`; the dialog's result (-1 when it could not be
// made).
INT_PTR showBusinessCard(HWND owner);
// Reads the firm at `firmRef` (table 3) with its street and details, then shows its card. -1 when
// no database is open or the firm cannot be read: nothing opens.
INT_PTR openBusinessCard(HWND owner, uint32_t firmRef);
