#include "fuzz/db/seed_edition.h"

#include <string>

#include "db/format.h"
#include "tools/writer/tiny_bitmap.h"

namespace {

EditionFirm firm(const std::string& name, uint32_t street, uint32_t house) {
    EditionFirm f;
    f.name = name;
    f.street = street;
    f.house = house;
    f.houseSuffix = house % 3 == 0 ? "2" : "";
    f.web = "www." + std::to_string(house) + ".ru";
    f.email = house % 2 ? "a@b.ru" : "";
    f.phone = std::to_string(3100000 + house);
    f.phones = f.phone + ",3200000";
    f.namePrefix = house % 4 == 0 ? "\xCE\xCE\xCE" : "";  // ООО
    f.rubricCodes = "|01|0101|";
    f.hours = "9-18";
    f.comment = "Comment " + std::to_string(house);
    return f;
}

} // namespace

Edition seedEdition(uint32_t firms) {
    Edition e;
    e.title = "\xD1\xEF\xF0\xE0\xE2\xEE\xF7\xED\xE8\xEA\r\nSeed";  // Справочник
    e.cityLetter = 0xCC;
    e.streets = {{"\xCD\xC5\xC2", "\xCD\xE5\xE2\xF1\xEA\xE8\xE9", {}}, {"SAD", "Sadovaya", {}}, {"A", "", {}}};
    const char* names[] = {"Alpha", "\xC0\xEF\xF2\xE5\xEA\xE0", "\xA8\xEB\xEA\xE0-2", "Beta & Co", "\"Gamma\"", "Delta"};
    for (uint32_t i = 0; i < firms; ++i) {
        e.firms.push_back(firm(std::string(names[i % 6]) + (i >= 6 ? " " + std::to_string(i) : ""), i % 4 == 3 ? noStreet : i % 3, i + 1));
        if (i % 4 != 3) e.streets[i % 3].firms.push_back(i);
        e.phones.push_back({3100000 + i + 1, i});
    }
    EditionRubric top{"01", "Top", 3, false, {}};
    EditionRubric child{"0101", "Child", 1, true, {}};
    EditionRubric other{"0102", "Other", 2, true, {}};
    for (uint32_t i = 0; i < firms; ++i) (i % 2 ? child : other).firms.push_back(i);
    e.rubrics = {top, child, other};
    e.chunks = {{ChunkKind::picture, tinyBitmap()}, {ChunkKind::help, "<html><body>help</body></html>"}};
    return e;
}
