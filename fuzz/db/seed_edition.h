// A small edition with something of every kind (firms with and without a street, house suffixes,
// name prefixes, rubrics with lists and a heading, a picture and a help text): what the database
// seeds are made from and what the database mutator falls back to.
#pragma once

#include <cstdint>

#include "tools/writer/edition.h"

Edition seedEdition(uint32_t firms);
