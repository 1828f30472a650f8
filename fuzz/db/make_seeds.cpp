// Writes the seed corpus of the database fuzz target: small valid databases made by the writer,
// and a few cut or damaged copies of them. Usage: db_fuzz_seeds FOLDER
#include <cstdio>
#include <string>

#include "tools/writer/edition_writer.h"
#include "tools/writer/image_patch.h"

namespace {

std::string bitmap() {
    std::string file(14 + 40 + 16, '\0');
    auto* b = reinterpret_cast<uint8_t*>(file.data());
    file[0] = 'B', file[1] = 'M';
    ydb::storeU32(b + 2, static_cast<uint32_t>(file.size()));
    ydb::storeU32(b + 10, 54);
    ydb::storeU32(b + 14, 40);
    ydb::storeU32(b + 18, 2);
    ydb::storeU32(b + 22, 2);
    ydb::storeU16(b + 26, 1);
    ydb::storeU16(b + 28, 24);
    return file;
}

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

Edition small(uint32_t firms) {
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
    e.chunks = {{ChunkKind::picture, bitmap()}, {ChunkKind::help, "<html><body>help</body></html>"}};
    return e;
}

bool save(const std::string& folder, const std::string& name, const DatabaseImage& image) {
    std::string error;
    if (saveImage(image, folder + "/" + name, error) != writeOk) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return true;
}

bool written(const Edition& edition, DatabaseImage& image) {
    std::string error;
    if (writeEdition(edition, image, error) == writeOk) return true;
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    DatabaseImage image;
    bool ok = true;

    Edition empty;
    empty.title = "Empty";
    ok &= written(empty, image) && save(folder, "empty.ydb", image);

    ok &= written(small(6), image) && save(folder, "small.ydb", image);
    ok &= written(small(24), image) && save(folder, "medium.ydb", image);

    // The details limits: table 7's boxes and the fetch's own limits.
    Edition limits = small(3);
    limits.chunks.clear();
    limits.firms[0].rubricCodes = "|" + std::string(4094, '1') + "|";
    limits.firms[1].hours = std::string(300, 'h');
    limits.firms[2].comment = std::string(600, 'c');
    ok &= written(limits, image) && save(folder, "limits.ydb", image);

    // Cut inside the last details record, the boundaries moved to the cut.
    ok &= written(small(6), image);
    const auto cut = static_cast<uint32_t>(image.tableStart[8] - 5);
    truncateImage(image, cut);
    setTableStart(image, 8, cut);
    ok &= save(folder, "cut.ydb", image);

    // A firm whose length runs past its table; a street list count past its table.
    ok &= written(small(6), image);
    patchU16(image, image.tableStart[3], 0x0FFF);
    patchU16(image, image.tableStart[5], 0x0FF0);
    ok &= save(folder, "long-records.ydb", image);

    // The header alone.
    ok &= written(small(6), image);
    truncateImage(image, ydb::headerSize + 1);
    ok &= save(folder, "header-only.ydb", image);
    return ok ? 0 : 1;
}
