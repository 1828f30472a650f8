// Plausible firms for a sample edition, drawn reproducibly from the word lists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/editiongen/word_lists.h"

struct FirmWords {
    std::vector<RubricNode> rubrics;
    std::vector<std::string> brands;
    std::vector<std::string> people;      // "Фамилия И. О." for sole traders
    std::vector<std::string> streets;
    std::vector<std::string> phoneCodes;  // the city's codes, "812"
    std::vector<std::string> mobileCodes; // "921"
    std::string siteSuffix;               // "spb": a firm's second web site is www.NAME-spb.com
};

// One JSON object per firm, in the shape of firms.jsonl: `count` firms with an address, then
// `withoutStreet` kiosks and mobile services, which have none.
std::vector<nlohmann::json> generateFirms(const FirmWords& words, uint32_t count, uint32_t withoutStreet, uint64_t seed);
