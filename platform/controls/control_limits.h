// Limits of the standard controls that tests can lower to reach them quickly.
#pragma once

namespace emu {

// Items one list box (or the list of one combo box) holds; adding one more answers
// LB_ERRSPACE / CB_ERRSPACE. The device's own limit is the default.
constexpr int defaultListCapacity = 32767;
int listCapacity();
// A value of 0 or less puts the default back.
void setListCapacity(int items);

}  // namespace emu
