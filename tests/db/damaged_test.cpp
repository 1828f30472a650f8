// Damaged files: each gives the reader code and the damaged-file message the program shows for it, and reading
// never goes past the data in hand.
#include "tests/db/test_support.h"
#include "tools/writer/image_patch.h"

namespace {

class DamagedTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        std::string error;
        ASSERT_EQ(writeEdition(sampleEdition(), image, error), writeOk) << error;
    }

    // Every table read front to back, firms with every detail: the first failure, or 0.
    int32_t readEverything(DirectoryDatabase& db) {
        for (int table = 0; table < ydb::tableCount; ++table) {
            if (seekTable(db, table, 0, false, noCap) != 0) return -1000;
            const uint16_t detail = table == tableFirms ? 7 : table == tableStreetFirms ? detailList : 0;
            int32_t r = 0;
            while ((r = readRecord(db, table, readNext, detail, noCap)) == 0) {
            }
            if (r != readEndOfTable) return r;
        }
        return 0;
    }

    // The one damaged-file box that a failure must bring up.
    void expectOneDamagedBox() {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, damagedText);
        EXPECT_EQ(boxes[0].caption, damagedCaption);
        EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONSTOP | MB_TOPMOST));
    }

    uint32_t at(int table, uint32_t ref) const { return absoluteOffset(image, table, ref); }

    DatabaseImage image;
};

TEST_F(DamagedTest, TheUndamagedSampleReadsWithoutAnyMessage) {
    OpenedDatabase db(install(image, "good.ydb"));
    EXPECT_EQ(readEverything(*db), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DamagedTest, AFileCutShortWithItsHeaderUnchangedFailsTheSizeCheck) {
    truncateImage(image, image.tableStart[5]);
    OpenedDatabase db(install(image, "cut.ydb"));
    EXPECT_EQ(db->lastError, errorBoundaryBeyondFile);
    expectOneDamagedBox();
}

TEST_F(DamagedTest, BoundariesThatDecreaseBetweenTheLastTableAndTheResourceArea) {
    setTableStart(image, 8, image.tableStart[7] - 1);
    OpenedDatabase db(install(image, "order.ydb"));
    EXPECT_EQ(db->lastError, errorBoundaryOrder);
    expectOneDamagedBox();
}

TEST_F(DamagedTest, AFirmLongerThanWhatIsLeftOfItsTableIsDamaged) {
    // The last firm in table order says it is 100 bytes longer than it is.
    const uint32_t last = image.firmRefs[image.firmOrder.back()];
    const uint16_t length = ydb::loadU16(image.bytes.data() + at(tableFirms, last));
    patchU16(image, at(tableFirms, last), static_cast<uint16_t>(length + 100));
    OpenedDatabase db(install(image, "firm.ydb"));
    ASSERT_EQ(db->lastError, 0);
    EXPECT_EQ(readRecord(*db, tableFirms, last, detailBody, noCap), errorDamagedRecord);
    EXPECT_EQ(db->lastError, errorDamagedRecord);
    expectOneDamagedBox();
    // Any detail level: the fit test comes first.
    EXPECT_EQ(readRecord(*db, tableFirms, last, 0, noCap), errorDamagedRecord);
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(DamagedTest, AFirmWithAHugeLengthIsDamagedWhereverItIs) {
    const uint32_t first = image.firmRefs[image.firmOrder.front()];
    patchU16(image, at(tableFirms, first), 0xFFFF);
    OpenedDatabase db(install(image, "huge.ydb"));
    EXPECT_EQ(readEverything(*db), errorDamagedRecord);
    expectOneDamagedBox();
}

TEST_F(DamagedTest, ATextWhoseZeroIsMissingBeforeTheTablesEndIsDamaged) {
    // The rubric table ends inside the last rubric's code: "0102" without its 0.
    const uint32_t lastRubric = image.rubricRefs.back();
    setTableStart(image, 1, image.tableStart[0] + lastRubric + 3);
    OpenedDatabase db(install(image, "rubric.ydb"));
    ASSERT_EQ(db->lastError, 0);
    ASSERT_EQ(seekTable(*db, tableRubrics, 0, false, noCap), 0);
    EXPECT_EQ(readRecord(*db, tableRubrics, readNext, 0, noCap), 0);
    EXPECT_EQ(readRecord(*db, tableRubrics, readNext, 0, noCap), 0);
    EXPECT_EQ(readRecord(*db, tableRubrics, readNext, 0, noCap), errorDamagedRecord);
    expectOneDamagedBox();
}

TEST_F(DamagedTest, FixedEntriesCutByTheTablesEndAreDamaged) {
    // The telephone index loses the last four bytes of its last entry.
    setTableStart(image, 7, image.tableStart[7] - 4);
    OpenedDatabase db(install(image, "phones.ydb"));
    ASSERT_EQ(db->lastError, 0);
    EXPECT_EQ(readRecord(*db, tablePhones, 8, 0, noCap), 0);
    EXPECT_EQ(readRecord(*db, tablePhones, 16, 0, noCap), errorDamagedRecord);
    expectOneDamagedBox();
    // An entry of the prefix index entered in the middle of its last bytes.
    EXPECT_EQ(readRecord(*db, tablePrefixes, image.tableStart[2] - image.tableStart[1] - 3, 0, noCap),
              errorDamagedRecord);
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(DamagedTest, FirmListsLongerThanTheirTableAreDamagedWithoutAskingForTheMemory) {
    emu::failLocalAllocAbove(1u << 24);  // a list of ~4 GB would be refused as -110, not -107
    setFreeMemory(1u << 22);
    patchU32(image, at(tableRubricFirms, image.rubricListRefs[2]), 0xFFFFFFF0u);
    patchU16(image, at(tableStreetFirms, image.streetListRefs[1]), 0xFFF0);
    OpenedDatabase db(install(image, "lists.ydb"));
    EXPECT_EQ(readRecord(*db, tableRubricFirms, image.rubricListRefs[2], 0, noCap), errorDamagedRecord);
    EXPECT_EQ(readRecord(*db, tableStreetFirms, image.streetListRefs[1], detailList, noCap), errorDamagedRecord);
    EXPECT_EQ(readRecord(*db, tableStreetFirms, image.streetListRefs[1], 0, noCap), errorDamagedRecord);
    EXPECT_EQ(damagedBoxes(), 3u);
    EXPECT_EQ(boxesWith(sorryCaption), 0u);
    // The undamaged lists still read.
    EXPECT_EQ(readRecord(*db, tableRubricFirms, image.rubricListRefs[1], 0, noCap), 0);
    EXPECT_EQ(readRecord(*db, tableStreetFirms, image.streetListRefs[0], detailList, noCap), 0);
}

TEST_F(DamagedTest, ADetailsRecordLongerThanItsTableIsDamagedThroughTableSeven) {
    const uint32_t ref = image.detailsRefs[image.firmOrder.back()];  // the last details record
    patchU16(image, at(tableDetails, ref), 0x7FFF);
    OpenedDatabase db(install(image, "details.ydb"));
    EXPECT_EQ(readRecord(*db, tableDetails, ref, 0, noCap), errorDamagedRecord);
    expectOneDamagedBox();
    // Fetched with its firm it is not checked: the fetch reads what is there, silently.
    EXPECT_EQ(readRecord(*db, tableFirms, image.firmRefs[image.firmOrder.back()], 7, noCap), 0);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(DamagedTest, AStreetWithoutTheZerosOfItsTextsIsDamaged) {
    // The street table ends in the middle of the last street's name.
    const uint32_t last = image.streetRefs.back();
    setTableStart(image, 5, image.tableStart[4] + last + 8);
    OpenedDatabase db(install(image, "street.ydb"));
    ASSERT_EQ(db->lastError, 0);
    EXPECT_EQ(readRecord(*db, tableStreets, last, 0, noCap), errorDamagedRecord);
    expectOneDamagedBox();
}

TEST_F(DamagedTest, ReferencesBeyondTheirTablesAreTheEndNotDamage) {
    OpenedDatabase db(install(image, "good.ydb"));
    for (int table = 0; table < ydb::tableCount; ++table)
        EXPECT_EQ(readRecord(*db, table, image.tableStart[table + 1] - image.tableStart[table], 0, noCap),
                  readEndOfTable);
    EXPECT_EQ(readRecord(*db, tableFirms, 0xFFFFFFF0u, 7, noCap), readEndOfTable);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DamagedTest, GarbageAfterAValidHeaderNeverReadsPastTheData) {
    // Every byte of the tables replaced by 0xFF: no text has its 0 byte, every length and count
    // is huge. Only the fixed-size entries (tables 1 and 6) still decode: any bytes make them.
    for (uint32_t i = image.tableStart[0]; i < image.tableStart[8]; ++i) image.bytes[i] = 0xFF;
    OpenedDatabase db(install(image, "garbage.ydb"));
    ASSERT_EQ(db->lastError, 0);
    for (int table = 0; table < ydb::tableCount; ++table) {
        boxes.clear();
        // (After a -107, lastError holds it and seekTable refuses: enter at reference 0 instead.)
        const int32_t r = readRecord(*db, table, 0, table == tableFirms ? 7 : 1, noCap);
        const bool fixed = table == tablePrefixes || table == tablePhones;
        EXPECT_EQ(r, fixed ? 0 : errorDamagedRecord) << table;
        EXPECT_EQ(damagedBoxes(), fixed ? 0u : 1u) << table;
    }
    EXPECT_EQ(std::string(db->prefix.prefix), "\xFF\xFF\xFF\xFF\xFF");
}

}  // namespace
