// The 1 000 000-firm edition (made by the target search_bench_edition) installed alone on a device
// of its own, for the benchmarks that drive the program over it.
#pragma once

#include "search/search_state.h"

#include <filesystem>

struct DirectoryDatabase;

namespace driven {

struct MillionEdition {
    std::filesystem::path root;
    uint32_t largestList = noFirmList;  // the largest rubric firm list (table 2)
    uint32_t largestListFirms = 0;
};
// The device with the edition (made by the target search_bench_edition) as its only database and
// 24 MB of free memory; made on first use, the device root set.
MillionEdition& edition();
// The edition opened by a database of its own, outside the program, or nullptr.
DirectoryDatabase* openEdition();

}  // namespace driven
