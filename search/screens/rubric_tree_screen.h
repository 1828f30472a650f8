// The rubric tree (the yellow pages): the hierarchy of rubrics or the flat list of rubrics with
// firms (searchState.flatMode), opening a rubric's firm list, or, when the opener asks for a choice
// (searchState.rubricChoice.marker '?'), handing one rubric back with a hint band above the tree.
// In the flat list, holding the stylus on a rubric adds it to the favourites.
#pragma once

#include "win32.h"

INT_PTR CALLBACK rubricTreeScreenProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
