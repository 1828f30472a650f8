// The phone device profile: the device library "phone.dll" with PhoneMakeCall. A call asks the
// user to confirm when the request says so, then hands "tel:NUMBER" to the host (or, in a
// headless run, to the journal).
#pragma once

#include <string>
#include <string_view>

namespace host {

void installPhoneProfile();
void removePhoneProfile();

// The "tel:" address of a number as the device dials it: digits, '+', '*', '#', and the
// separators ' ', '-', '(' and ')' that are dropped. Empty when anything else is in it.
std::string telephoneAddressOf(std::u16string_view number);

}  // namespace host
