// Failures told to the user in plain words (Russian, as the whole product speaks).
#pragma once

#include <string>
#include <system_error>

namespace setup {

// "Не удалось <action> «<what>»: <reason>."
std::string describeFailure(const std::string& action, const std::string& what, std::error_code error);

// The reason alone, e.g. "на устройстве нет места".
std::string describeReason(std::error_code error);

} // namespace setup
