// The writer of database files: an Edition in, the bytes of a valid ".ydb" file out, together with
// where everything went (so that tests can find and damage any field).
//
// Firms are written in the order of their search keys, compactKey(upcaseText(name)) compared as
// unsigned bytes (equal keys keep the edition's order); the name-prefix index holds one entry per
// distinct first-5-characters of those keys. Each firm has its own details record; table 7 holds
// them in firm order. Telephone entries are sorted by number (equal numbers keep their order).
// Reserved header bytes are 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/format.h"
#include "tools/writer/edition.h"

constexpr int32_t writeOk = 0;
constexpr int32_t writeRefused = -1;     // the format cannot hold the edition; see the error text
constexpr int32_t writeFileFailed = -2;  // the host file could not be written

struct DatabaseImage {
    std::vector<uint8_t> bytes;
    uint32_t tableStart[ydb::tableStartCount] = {};
    std::vector<uint32_t> firmOrder;      // edition firm indices in table order
    std::vector<uint32_t> firmRefs;       // by edition firm index: reference into table 3
    std::vector<uint32_t> detailsRefs;    // by edition firm index: reference into table 7
    std::vector<uint32_t> rubricRefs;     // by rubric index: reference into table 0
    std::vector<uint32_t> rubricListRefs; // by rubric index: into table 2, or ydb::noFirmList
    std::vector<uint32_t> streetRefs;     // by street index: reference into table 4
    std::vector<uint32_t> streetListRefs; // by street index: reference into table 5
    std::vector<std::string> prefixes;    // the name-prefix index's prefixes, in entry order
    std::vector<uint32_t> chunkOffsets;   // absolute file offset of each chunk
};

// Builds the file. writeOk, or writeRefused with `error` naming what does not fit (a 16-bit length
// that would overflow, a title over 80 characters, a text holding a 0 byte, an index out of range,
// a picture that is not a bitmap file, a file over 4 GB).
int32_t writeEdition(const Edition& edition, DatabaseImage& image, std::string& error);

// Writes the image's bytes to a host file. writeOk or writeFileFailed.
int32_t saveImage(const DatabaseImage& image, const std::string& hostPath, std::string& error);

// The absolute file offset of a reference into a table.
inline uint32_t absoluteOffset(const DatabaseImage& image, int table, uint32_t ref) {
    return image.tableStart[table] + ref;
}
