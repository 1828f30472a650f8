// A firm's street and house as the directory writes them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "улица Ленина" as "Ленина ул.", "Невский проспект" as "Невский пр.": the kind of the street
// (first or last word) moved behind the name and abbreviated. Code page 1251 in and out.
std::string directoryStreetName(std::string_view street);

// The street search's three-letter key: the first three letters of the name's search form.
std::string streetKeyOf(std::string_view directoryName);

struct HouseNumber {
    uint32_t house = 0;      // 0: none
    std::string suffix;      // what follows the number: "к1", "3" of 12/3, "А", "-14"
    bool understood = true;  // false: the text held no number the directory can show
};

// "12", "12к1", "12 корп. 1", "12/3", "12А", "12-14", "д. 5" (code page 1251). A list ("12;14")
// gives its first number.
HouseNumber parseHouseNumber(std::string_view text);
