// Writes the seed corpus of the database fuzz target: small valid databases made by the writer,
// and a few cut or damaged copies of them. Usage: db_fuzz_seeds FOLDER
#include <cstdio>
#include <string>

#include "fuzz/db/seed_edition.h"
#include "tools/writer/edition_writer.h"
#include "tools/writer/image_patch.h"

namespace {

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

    ok &= written(seedEdition(6), image) && save(folder, "small.ydb", image);
    ok &= written(seedEdition(24), image) && save(folder, "medium.ydb", image);

    // The details limits: table 7's boxes and the fetch's own limits.
    Edition limits = seedEdition(3);
    limits.chunks.clear();
    limits.firms[0].rubricCodes = "|" + std::string(4094, '1') + "|";
    limits.firms[1].hours = std::string(300, 'h');
    limits.firms[2].comment = std::string(600, 'c');
    ok &= written(limits, image) && save(folder, "limits.ydb", image);

    // Cut inside the last details record, the boundaries moved to the cut.
    ok &= written(seedEdition(6), image);
    const auto cut = static_cast<uint32_t>(image.tableStart[8] - 5);
    truncateImage(image, cut);
    setTableStart(image, 8, cut);
    ok &= save(folder, "cut.ydb", image);

    // A firm whose length runs past its table; a street list count past its table.
    ok &= written(seedEdition(6), image);
    patchU16(image, image.tableStart[3], 0x0FFF);
    patchU16(image, image.tableStart[5], 0x0FF0);
    ok &= save(folder, "long-records.ydb", image);

    // The header alone.
    ok &= written(seedEdition(6), image);
    truncateImage(image, ydb::headerSize + 1);
    ok &= save(folder, "header-only.ydb", image);
    return ok ? 0 : 1;
}
