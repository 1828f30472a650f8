// An edition in memory, as the writer turns it into a database file. Plain records; every text is
// code page 1251 bytes (no 0 byte inside); every cross reference is an index into this edition.
// The edition compiler fills it from its UTF-8 source; the tests fill it directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A firm without a street: its streetRef is left beyond the street table, so no street is found.
constexpr uint32_t noStreet = 0xFFFFFFFF;

struct EditionRubric {
    std::string code;           // parent's code plus two characters
    std::string title;
    uint8_t flags = 3;          // ydb::rubricInPickerTree | ydb::rubricInFullTree
    bool hasFirmList = true;    // false: a pure heading (firmListRef 0xFFFFFFFF)
    std::vector<uint32_t> firms;  // indices into Edition::firms, in list order
};

struct EditionStreet {
    std::string key;            // short search key, up to 3 characters used
    std::string name;           // up to 39 characters used
    std::vector<uint32_t> firms;  // indices into Edition::firms, in list order
};

struct EditionFirm {
    std::string name;
    uint32_t street = noStreet;  // index into Edition::streets
    uint32_t house = 0;          // 0: none
    std::string houseSuffix;
    std::string web;
    std::string email;
    std::string phone;           // main telephone
    // The details record.
    std::string phones;          // every telephone, comma-separated
    std::string namePrefix;
    std::string rubricCodes;     // "|code|code|"
    std::string hours;
    std::string comment;
};

struct EditionPhone {
    uint32_t number = 0;         // the number in numeric form
    uint32_t firm = 0;           // index into Edition::firms
};

enum class ChunkKind { picture, help };

struct EditionChunk {
    ChunkKind kind = ChunkKind::help;
    // picture: a whole Windows bitmap file (it begins with the 14-byte file header that becomes the
    // chunk header); help: the HTML text, without a 0 byte at its end.
    std::string bytes;
};

struct Edition {
    std::string title;           // at most 80 characters; lines separated by CR and/or LF
    uint8_t cityLetter = 0;      // ydb::cityLetterMoscow or another letter
    std::vector<EditionRubric> rubrics;  // tree pre-order
    std::vector<EditionStreet> streets;  // table order
    std::vector<EditionFirm> firms;      // any order: the writer sorts them by search key
    std::vector<EditionPhone> phones;    // any order: the writer sorts them by number
    std::vector<EditionChunk> chunks;    // file order
};
