// The streets of the current database in table order, kept in memory: the search screen's street
// completion and every firm's street name by reference come from here.
#pragma once

#include <cstdint>

struct DirectoryDatabase;

struct StreetListEntry {
    uint32_t ref;          // the street's record in table 4; ascending along the list
    uint32_t firmListRef;  // into table 5
    char key[4];           // the first 3 characters of the street's key, 0-terminated
    char name[40];         // the first 39 characters of the street's name, 0-terminated
};

struct StreetList {
    StreetListEntry* entries = nullptr;  // owned; none when not loaded or memory was refused
    uint32_t count = 0;
    // Read to the table's end (or the count): kept until freed. A load cut short by a failed read
    // is done again at the next use, so later lists do not lose their addresses for good.
    bool complete = false;
};

// The one list of the program, freed when the database changes and when the program ends.
extern StreetList streetList;

// Loads the list from table 4 unless it exists. When memory is refused there is no list (count 0)
// and every look-up finds nothing.
void loadStreetList(StreetList& list, DirectoryDatabase& db);
void freeStreetList(StreetList& list);
// The entry whose `ref` is `ref`, or none; a halving search that gives up after 100 probes.
const StreetListEntry* findStreet(const StreetList& list, uint32_t ref);
