// The white-pages order of firms and the name-prefix index built from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/writer/edition.h"

// compactKey(upcaseText(name)): the form the search compares.
std::string searchKey(const std::string& name);

// Edition firm indices sorted by search key (unsigned bytes; equal keys keep their order).
std::vector<uint32_t> sortFirmsByKey(const std::vector<EditionFirm>& firms, std::vector<std::string>& keys);

struct PrefixRun {
    std::string prefix;        // the first 5 bytes of the key (fewer when the key is shorter)
    uint32_t firstPosition;    // position in table order of the run's first firm
};

// One run per distinct prefix, in table order (hence ascending by prefix).
std::vector<PrefixRun> prefixRuns(const std::vector<uint32_t>& order, const std::vector<std::string>& keys);
