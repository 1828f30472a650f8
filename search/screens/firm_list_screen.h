// The firm list of a rubric: one line per firm of the rubric in searchState.firmListRequest, each
// opening the firm's business card.
#pragma once

#include "win32.h"

INT_PTR CALLBACK firmListScreenProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Sets nothing: the caller has put the rubric's list into searchState.firmListRequest. Opens the
// screen modally over `owner` and returns when it closes (returnHomeMarker then says how).
void openFirmListScreen(HWND owner);
