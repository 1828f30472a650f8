// Opening hours as the map writes them ("Mo-Fr 09:00-18:00; Sa 10:00-16:00") in the directory's
// Russian form ("Пн-Пт 9:00-18:00, Сб 10:00-16:00").
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The Russian line in code page 1251, or nothing when the text uses more of the syntax than weekdays,
// times, "off" and "24/7" (the caller then keeps it as written).
std::optional<std::string> russianOpeningHours(std::string_view text);
