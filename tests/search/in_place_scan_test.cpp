#include <gtest/gtest.h>

#include "tests/search/search_fixture.h"
#include "tools/writer/image_patch.h"

namespace {

struct Step {
    int32_t result;
    uint32_t ref;
    std::string name;
    uint32_t streetRef, house, detailsRef;
    bool operator==(const Step&) const = default;
};

// Every NEXT read of a full scan of table 3 with `detail`: what the name passes look at.
std::vector<Step> scan(DirectoryDatabase& db, uint16_t detail) {
    std::vector<Step> steps;
    seekTable(db, tableFirms, 0, false, noCap);
    for (;;) {
        const uint32_t ref = tableOffset(db, tableFirms);
        const int32_t r = readRecord(db, tableFirms, readNext, detail, noCap);
        steps.push_back({r, ref, r == 0 ? std::string(db.firm.name) : "", db.firm.streetRef, db.firm.house,
                         db.firm.detailsRef});
        if (r != 0) return steps;
    }
}

class InPlaceScanTest : public SearchTest {};

// The name passes read with the texts left in place; they must walk the table exactly as the
// full decode does, damaged records included, or a search would answer differently.
TEST_F(InPlaceScanTest, WalksTheFirmTableExactlyAsTheFullDecode) {
    Edition e = generatedEdition(300, 7);
    std::string error;
    ASSERT_EQ(writeEdition(e, image, error), writeOk);
    const std::u16string good = install(image, "good.ydb");
    // A firm whose length claims less than its fields: the full decode walks by its fields.
    ASSERT_TRUE(patchU16(image, absoluteOffset(image, tableFirms, image.firmRefs[image.firmOrder[100]]), 9));
    // A firm whose name runs on to the end of the table.
    const uint32_t late = absoluteOffset(image, tableFirms, image.firmRefs[image.firmOrder[250]]);
    for (uint32_t at = late + 2; at < image.tableStart[tableFirms + 1]; ++at) ASSERT_TRUE(patchU8(image, at, 'x'));
    const std::u16string bad = install(image, "bad.ydb");
    for (const std::u16string& path : {good, bad}) {
        std::vector<Step> expected;
        {
            OpenedDatabase full(path);
            expected = scan(*full, detailBody);
        }
        OpenedDatabase inPlace(path);
        EXPECT_EQ(scan(*inPlace, detailBody | detailTextsInPlace), expected);
        EXPECT_GT(expected.size(), 250u);
        EXPECT_NE(expected.back().result, 0);
        EXPECT_EQ(inPlace->firm.web[0], 0);
    }
}

}  // namespace
