// The Russian system texts of the error numbers the layer raises.
#pragma once

#include "win32.h"

namespace kernel {

// The text (without line break) of an error number, or null when there is none.
const char16_t* errorText(DWORD error);

}  // namespace kernel
