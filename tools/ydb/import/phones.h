// Telephones as the directory writes them, so that its reverse lookup finds them: "(812) 325-12-12",
// a mobile "8-921-123-45-67", a local "325-12-12", an extension after "доб.", a fax after its number
// marked "ф".
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Every telephone of a map value ("+7 812 325-12-12; +7 921 1234567"), split at ";" and ",", in
// the directory's form (code page 1251). `fax` marks each one as a fax.
std::vector<std::string> directoryPhones(std::string_view value, bool fax = false);
