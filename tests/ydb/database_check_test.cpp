// `ydb check` over damaged copies of a sound file: each fault is found in its table, at its record,
// with the reader's code when the reader is the one that fails.
#include <gtest/gtest.h>

#include "tests/ydb/built_edition.h"
#include "tools/writer/image_patch.h"
#include "tools/ydb/build/edition_from_source.h"
#include "tools/ydb/source/cp1251.h"
#include "tools/ydb/examine/database_check.h"
#include "tools/ydb/examine/host_database.h"
#include "tools/ydb/examine/resource_chunks.h"

namespace {

class DamagedCheck : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(built.build(error)) << error;
    }
    uint32_t at(int table, uint32_t ref) const { return absoluteOffset(built.image, table, ref); }
    uint32_t firmRef(size_t i) const { return built.image.firmRefs[i]; }

    CheckReport check() {
        EXPECT_TRUE(built.save());
        std::string error;
        DirectoryDatabase* db = openHostDatabase(built.path, error);
        EXPECT_NE(db, nullptr) << error;
        CheckReport report;
        if (db) report = checkDatabase(*db);
        destroyDatabase(db);
        return report;
    }
    // The report holds a fault of this table, offset and code whose text contains `what`.
    static bool has(const CheckReport& report, int table, uint32_t offset, int32_t code, const std::string& what) {
        for (const CheckFault& f : report.faults)
            if (f.table == table && f.offset == offset && f.code == code && f.what.find(what) != std::string::npos)
                return true;
        return false;
    }
    static std::string list(const CheckReport& report) {
        std::string s;
        for (const CheckFault& f : report.faults)
            s += std::string(tableName(f.table)) + " " + std::to_string(f.offset) + " " + std::to_string(f.code) + " " + f.what + "\n";
        return s;
    }

    BuiltEdition built;
};

TEST_F(DamagedCheck, ARecordLongerThanItsTableCarriesTheReadersCode) {
    uint32_t last = firmRef(3);
    uint16_t length = ydb::loadU16(built.image.bytes.data() + at(tableFirms, last));
    patchU16(built.image, at(tableFirms, last), static_cast<uint16_t>(length + 100));
    CheckReport r = check();
    EXPECT_TRUE(has(r, tableFirms, last, errorDamagedRecord, "cannot be read")) << list(r);
}

TEST_F(DamagedCheck, ADetailsRecordCutShortIsDamaged) {
    uint32_t details = built.image.detailsRefs[1];
    patchU16(built.image, at(tableDetails, details), 0xFFFF);
    CheckReport r = check();
    EXPECT_TRUE(has(r, tableDetails, details, errorDamagedRecord, "cannot be read")) << list(r);
}

TEST_F(DamagedCheck, IndexesOutOfOrderOrDisagreeingWithTheFirms) {
    patchU32(built.image, at(tablePhones, 0), 99999999);  // now greater than the next entry
    patchU32(built.image, at(tablePrefixes, ydb::prefixEntrySize) + ydb::prefixFirmRefOffset, firmRef(1));
    CheckReport r = check();
    EXPECT_TRUE(has(r, tablePhones, ydb::phoneEntrySize, 0, "not in ascending order")) << list(r);
    EXPECT_TRUE(has(r, tablePrefixes, ydb::prefixEntrySize, 0, "does not agree")) << list(r);
}

TEST_F(DamagedCheck, ReferencesThatMissTheStartOfARecord) {
    uint32_t rubric = built.image.rubricRefs[1];
    uint32_t street = built.image.streetRefs[0];
    // The firm list reference is the rubric record's last field, the street's too.
    uint32_t rubricEnd = built.image.rubricRefs[2];
    patchU32(built.image, at(tableRubrics, rubricEnd - 4), built.image.rubricListRefs[1] + 4);
    uint32_t streetEnd = built.image.streetRefs[1];
    patchU32(built.image, at(tableStreets, streetEnd - 4), built.image.streetListRefs[0] + 2);
    // A street firm list entry and a telephone entry pointing into the middle of a firm.
    patchU32(built.image, at(tableStreetFirms, built.image.streetListRefs[2] + ydb::streetListCountSize), firmRef(2) + 1);
    patchU32(built.image, at(tablePhones, ydb::phoneFirmRefOffset), firmRef(0) + 3);
    CheckReport r = check();
    EXPECT_TRUE(has(r, tableRubrics, rubric, 0, "is not the start of a list in rubric-firms")) << list(r);
    EXPECT_TRUE(has(r, tableStreets, street, 0, "is not the start of a list in street-firms")) << list(r);
    EXPECT_TRUE(has(r, tableStreetFirms, built.image.streetListRefs[2], 0, "entry 0 is not the start of a firm")) << list(r);
    EXPECT_TRUE(has(r, tablePhones, 0, 0, "its firm reference is not the start of a firm")) << list(r);
}

TEST_F(DamagedCheck, DetailsOfAnotherFirmAndABrokenTree) {
    // Firm 0's details record names firm 1 as its owner.
    patchU32(built.image, at(tableDetails, built.image.detailsRefs[0]) + ydb::recordLengthSize, firmRef(1));
    // Rubric 2010 becomes 3010, whose parent 30 does not exist.
    patchU8(built.image, at(tableRubrics, built.image.rubricRefs[5]), '3');
    CheckReport r = check();
    EXPECT_TRUE(has(r, tableFirms, firmRef(0), 0, "belongs to another firm")) << list(r);
    EXPECT_TRUE(has(r, tableRubrics, built.image.rubricRefs[5], 0, "parent rubric")) << list(r);
}

TEST_F(DamagedCheck, HeaderCountsThatDisagreeWithTheTables) {
    patchU32(built.image, ydb::streetCountOffset, 4);
    patchU32(built.image, ydb::phoneCountOffset, 3);
    CheckReport r = check();
    EXPECT_TRUE(has(r, tableStreets, 0, 0, "streetCount is 4 but the table holds 3")) << list(r);
    EXPECT_TRUE(has(r, tablePhones, 0, 0, "phoneCount")) << list(r);
}

TEST_F(DamagedCheck, TheSoundFileHasNoFault) {
    CheckReport r = check();
    EXPECT_TRUE(r.faults.empty()) << list(r);
}

// A file made by another tool than `build`, whose details texts pass their limits: the handheld would
// show "ERR" and leave each such field empty, so each is a fault naming its firm.
TEST(DetailsLimits, EachTextOverTheHandheldsLimitIsAFaultOfItsFirm) {
    BuiltEdition built;
    SourceEdition source;
    IssueList issues;
    ASSERT_TRUE(built.source.read(source, issues));
    Edition edition = editionFromSource(source);
    edition.firms[0].hours.assign(512, 'x');
    edition.firms[0].comment.assign(32768, 'y');
    edition.firms[1].rubricCodes = "|" + std::string(4094, '1') + "|";
    edition.firms[2].hours.assign(511, 'z');  // at its limit: read whole
    edition.firms[2].comment.assign(32767, 'z');
    std::string error;
    ASSERT_EQ(writeEdition(edition, built.image, error), writeOk) << error;
    ASSERT_TRUE(built.save());
    ReaderBoxesSilenced quiet;
    DirectoryDatabase* db = openHostDatabase(built.path, error);
    ASSERT_NE(db, nullptr) << error;
    CheckReport r = checkDatabase(*db);
    destroyDatabase(db);

    std::vector<std::string> found;
    for (const CheckFault& f : r.faults) found.push_back(std::string(tableName(f.table)) + " " + std::to_string(f.offset) + ": " + f.what);
    auto expected = [&](size_t firm, const std::string& field, size_t length, size_t limit) {
        return "details " + std::to_string(built.image.detailsRefs[firm]) + ": firm " +
               std::to_string(built.image.firmRefs[firm]) + " \"" + cp1251ToUtf8(edition.firms[firm].name) + "\": its " +
               field + " has " + std::to_string(length) + " characters, over the " + std::to_string(limit) +
               " the handheld reads: it shows \"ERR\" and leaves the field empty";
    };
    EXPECT_EQ(found, (std::vector<std::string>{expected(0, "hours text", 512, 511), expected(0, "comment", 32768, 32767),
                                               expected(1, "rubric list", 4096, 4095)}));
}

TEST(ResourceChunks, AChainThatCannotBeWalkedToTheEndIsAFault) {
    BuiltEdition built;
    std::string error;
    ASSERT_TRUE(built.build(error)) << error;
    std::string fault;
    auto chunks = walkResourceChunks(built.path, built.image.tableStart[ydb::resourceArea], fault);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(std::string(chunks[0].tag), "HT");
    EXPECT_EQ(fault, "");

    uint32_t chunk = built.image.chunkOffsets[0];
    patchU32(built.image, chunk + 2, 13);  // smaller than its own header: the walk would stand still
    ASSERT_TRUE(built.save());
    walkResourceChunks(built.path, built.image.tableStart[ydb::resourceArea], fault);
    EXPECT_EQ(fault, "chunk at " + std::to_string(chunk) + " is smaller than its header");

    patchU32(built.image, chunk + 2, 1u << 30);
    ASSERT_TRUE(built.save());
    walkResourceChunks(built.path, built.image.tableStart[ydb::resourceArea], fault);
    EXPECT_EQ(fault, "chunk at " + std::to_string(chunk) + " runs past the end of the file");
}

// A picture chunk the handheld could not load into a bitmap, and a chain that stops short.
TEST(ResourceChunks, PicturesAreCheckedAsTheHandheldLoadsThem) {
    BuiltEdition built;
    std::string bitmap(54 + 16, '\0');  // 2 x 2 pixels, 24 bits
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bitmap[at + i] = static_cast<char>(v >> (8 * i));
    };
    bitmap[0] = 'B', bitmap[1] = 'M';
    put(10, 54), put(14, 40), put(18, 2), put(22, 2), put(26, 1 | 24 << 16);
    built.source.write("p.bmp", bitmap);
    built.source.write("edition.json", R"({"title": "T", "cityLetter": "M", "resources": [{"picture": "p.bmp"}, {"picture": "p.bmp"}]})");
    std::string error;
    ASSERT_TRUE(built.build(error)) << error;
    const uint32_t area = built.image.tableStart[ydb::resourceArea];
    EXPECT_TRUE(checkResourceChunks(built.path, area).empty());

    const uint32_t second = built.image.chunkOffsets[1];
    patchU32(built.image, second + 14 + 14, 7);  // 7 bits per pixel
    ASSERT_TRUE(built.save());
    std::vector<ChunkFault> faults = checkResourceChunks(built.path, area);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].offset, second);
    EXPECT_EQ(faults[0].what.rfind("picture 1 not a bitmap the handheld can load: ", 0), 0u) << faults[0].what;

    truncateImage(built.image, second + 20);
    ASSERT_TRUE(built.save());
    faults = checkResourceChunks(built.path, area);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].offset, second);
    EXPECT_EQ(faults[0].what, "chunk at " + std::to_string(second) + " runs past the end of the file");
}

} // namespace
