// What the device does for a contact: here, the mail program started for a "mailto:" link of a page.
#pragma once

#include "win32.h"

#include <string>

// Whether an 8-bit link target is a "mailto:" address (the scheme in any letter case).
bool startsWithMailto(const char* target);

// The mail program's command line for a link: -to "address", the address being the target after
// "mailto:" in UTF-16, at most 512 characters.
std::u16string mailToCommandLine(const char* target);

// Starts "tmail.exe" for a "mailto:" link; a failure is not reported.
void startMailTo(const char* target);
