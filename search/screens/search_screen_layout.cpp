#include "search/screens/search_screen.h"

#include "resources/dernolo/dernolo_ids.h"

void searchLayout(const SearchLayoutSizes& s, ControlPlace (&places)[searchPlaceCount])
{
    // Halves and quarters are arithmetic shifts: on a content too small for the fields the
    // negative sizes round down, as the device's own layout does.
    const int h = s.boxHeight;
    const int w = s.width;
    const int quarter = w >> 2;
    const int buttonsTop = 5 * h + 13;
    const int resultsTop = 5 * h + s.buttonHeight + 17;
    const ControlPlace table[searchPlaceCount] = {
        {IDC_SEARCH_MODE, 0, 0, w, 5 * h},
        {IDC_SEARCH_NAME, 0, h + 1, w, (s.bottom - h - 1) >> 1},
        {IDC_SEARCH_THEME, 0, 2 * h + 2, w - h - 1, 8 * h},
        {IDC_SEARCH_CHOOSE_THEME, w - h, 2 * h + 2, h, h},
        {IDC_SEARCH_STREET_LABEL, 0, 3 * h + 3, quarter, h},
        {IDC_SEARCH_STREET, quarter, 3 * h + 3, w - quarter, s.bottom - 3 * h - 3},
        {IDC_SEARCH_PHONE_LABEL, 0, 4 * h + 4, quarter, h},
        {IDC_SEARCH_PHONE, quarter, 4 * h + 4, w - quarter, h},
        {IDC_SEARCH_CLEAR, (w >> 1) - 4 - s.buttonWidth, buttonsTop, s.buttonWidth, s.buttonHeight},
        {IDC_SEARCH_RUN, (w >> 1) + 4, buttonsTop, s.buttonWidth, s.buttonHeight},
        {IDC_SEARCH_RESULTS, 0, resultsTop, w, s.bottom - resultsTop},
    };
    for (int i = 0; i < searchPlaceCount; ++i)
        places[i] = table[i];
}
