// The search screen: the mode, name, theme, street and telephone fields over the landed search and
// its completion lists, the result lines opening business cards, and the theme chosen in the
// rubric tree. The screen decides nothing about what is found: it hands its fields to runSearch
// and the boxes' texts to the completions, and shows what they give back.
#pragma once

#include "win32.h"

INT_PTR CALLBACK searchScreenProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Where each control goes for a content area `width` wide whose bottom is at `bottom`, given the
// mode box's field height and the buttons' size as the template made them. Heights of combo boxes
// include their lists.
struct SearchLayoutSizes {
    int width;
    int bottom;
    int boxHeight;
    int buttonWidth;
    int buttonHeight;
};

struct ControlPlace {
    int controlId;
    int x, y, width, height;
};

constexpr int searchPlaceCount = 11;
void searchLayout(const SearchLayoutSizes& sizes, ControlPlace (&places)[searchPlaceCount]);
