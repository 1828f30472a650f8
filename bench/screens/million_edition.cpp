#include "bench/screens/million_edition.h"

#include "db/database.h"
#include "emulator.h"

#include <cstdio>
#include <cstdlib>

namespace driven {
namespace {

namespace fs = std::filesystem;

constexpr uint64_t emulatedFreeMemory = 24u << 20;
constexpr char16_t editionPath[] = u"\\Storage Card\\Program Files\\MORVANE\\QUILLDEN\\Million\\million.ydb";

// The edition linked (hard: the device's files are plain files), not copied, into an install
// folder of its own.
fs::path makeDevice()
{
    const char* file = std::getenv("SEARCH_BENCH_EDITION");
    const fs::path edition = fs::absolute(file ? file : SEARCH_BENCH_FILE);
    if (!fs::is_regular_file(edition)) {
        std::fprintf(stderr, "%s: missing; build the target search_bench_edition first\n", edition.c_str());
        std::exit(2);
    }
    const fs::path root = edition.parent_path() / "device";
    const fs::path folder = root / "Storage Card" / "Program Files" / "MORVANE" / "QUILLDEN" / "Million";
    fs::create_directories(folder);
    const fs::path link = folder / "million.ydb";
    std::error_code ignored;
    fs::remove(link, ignored);
    fs::create_hard_link(edition, link);
    return root;
}

}  // namespace

DirectoryDatabase* openEdition()
{
    DirectoryDatabase* db = createDatabase();
    if (db != nullptr && openDatabase(*db, reinterpret_cast<const WCHAR*>(editionPath)) == 0)
        return db;
    destroyDatabase(db);
    return nullptr;
}

MillionEdition& edition()
{
    static MillionEdition made = [] {
        MillionEdition e;
        e.root = makeDevice();
        emu::setDeviceRoot(e.root.string());
        emu::setAvailablePhysicalMemory(emulatedFreeMemory);
        DirectoryDatabase* db = openEdition();
        if (db == nullptr) {
            std::fprintf(stderr, "%s: the edition cannot be opened\n", e.root.c_str());
            std::exit(2);
        }
        seekTable(*db, tableRubricFirms, 0, false, noCap);
        uint32_t ref = tableOffset(*db, tableRubricFirms);
        while (readRecord(*db, tableRubricFirms, readNext, 0, noCap) == 0) {
            if (db->rubricFirms.byteCount / 4 > e.largestListFirms || e.largestList == noFirmList) {
                e.largestListFirms = db->rubricFirms.byteCount / 4;
                e.largestList = ref;
            }
            ref = tableOffset(*db, tableRubricFirms);
        }
        destroyDatabase(db);
        return e;
    }();
    return made;
}

}  // namespace driven
