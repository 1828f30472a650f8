// About the maker: two pictures of the database for the screen's orientation, a paragraph about the
// maker, and the name of its map product, which opens the product's page.
#pragma once

#include "win32.h"

INT_PTR CALLBACK aboutScreenProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
