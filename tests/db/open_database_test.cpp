// Opening and validating a file, and the working-memory budget of the read window.
#include <sys/stat.h>

#include "tests/db/test_support.h"
#include "tools/writer/image_patch.h"

namespace {

class OpenDatabaseTest : public DeviceTest {
protected:
    DatabaseImage image() {
        DatabaseImage out;
        std::string error;
        EXPECT_EQ(writeEdition(sampleEdition(), out, error), writeOk) << error;
        return out;
    }
};

TEST_F(OpenDatabaseTest, AValidFileOpensWithItsHeaderAndTitle) {
    const Edition e = sampleEdition();
    OpenedDatabase db(installEdition(e, "a.ydb"));
    EXPECT_EQ(db->lastError, 0);
    ASSERT_NE(db->title, nullptr);
    EXPECT_EQ(std::string(db->title), e.title);
    EXPECT_EQ(rubricCount(*db), 3u);
    EXPECT_EQ(streetCount(*db), 2u);
    EXPECT_EQ(phoneCount(*db), 3u);
    EXPECT_EQ(prefixCount(*db), 4u);
    EXPECT_EQ(cityLetter(*db), e.cityLetter);
    EXPECT_EQ(db->window, nullptr);  // built by the first read
    EXPECT_TRUE(boxes.empty());
}

TEST_F(OpenDatabaseTest, TooShortOrForeignFilesOpenWithoutHeaderOrMessage) {
    DatabaseImage full = image();
    std::string bytes(full.bytes.begin(), full.bytes.begin() + 256);
    installBytes(bytes, "short.ydb");
    OpenedDatabase shortFile(u"\\short.ydb");
    EXPECT_EQ(shortFile->lastError, 0);
    EXPECT_EQ(shortFile->title, nullptr);
    EXPECT_EQ(tableStart(*shortFile, 8), 0u);

    patchU8(full, 5, '!');  // "YELDB!" instead of "YELDB\0"
    OpenedDatabase foreign(install(full, "foreign.ydb"));
    EXPECT_EQ(foreign->lastError, 0);
    EXPECT_EQ(foreign->title, nullptr);
    EXPECT_TRUE(boxes.empty());
    // Reading a file without a header finds every table empty.
    EXPECT_EQ(readRecord(*foreign, tableFirms, 0, detailBody, noCap), readEndOfTable);
    EXPECT_EQ(readRecord(*foreign, tableFirms, readNext, detailBody, noCap), readEndOfTable);
}

TEST_F(OpenDatabaseTest, AMissingFileIsReportedAsDamaged) {
    OpenedDatabase db(u"\\nothing.ydb");
    EXPECT_EQ(db->lastError, static_cast<int32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(db->file, INVALID_HANDLE_VALUE);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, damagedText);
    EXPECT_EQ(boxes[0].caption, damagedCaption);
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONSTOP | MB_TOPMOST));
}

TEST_F(OpenDatabaseTest, AReadOnlyFileStillOpens) {
    const std::u16string path = install(image(), "ro.ydb");
    ASSERT_EQ(chmod((root + "/ro.ydb").c_str(), 0444), 0);
    OpenedDatabase db(path);
    EXPECT_EQ(db->lastError, 0);
    EXPECT_NE(db->title, nullptr);
    EXPECT_EQ(readRecord(*db, tableFirms, 0, detailBody, noCap), 0);
}

TEST_F(OpenDatabaseTest, TheResourceAreaMayEndExactlyAtTheFileEnd) {
    DatabaseImage exact = image();
    setTableStart(exact, 8, static_cast<uint32_t>(exact.bytes.size()));
    OpenedDatabase db(install(exact, "exact.ydb"));
    EXPECT_EQ(db->lastError, 0);

    setTableStart(exact, 8, static_cast<uint32_t>(exact.bytes.size()) + 1);
    OpenedDatabase beyond(install(exact, "beyond.ydb"));
    EXPECT_EQ(beyond->lastError, errorBoundaryBeyondFile);
    EXPECT_EQ(beyond->title, nullptr);
    EXPECT_NE(beyond->file, INVALID_HANDLE_VALUE);  // closed by closeDatabase
    EXPECT_EQ(damagedBoxes(), 1u);
}

TEST_F(OpenDatabaseTest, BoundariesMustNotDecrease) {
    DatabaseImage equal = image();
    setTableStart(equal, 2, equal.tableStart[1]);
    setTableStart(equal, 1, equal.tableStart[0]);
    OpenedDatabase db(install(equal, "equal.ydb"));
    EXPECT_EQ(db->lastError, 0);
    EXPECT_TRUE(boxes.empty());

    for (int k : {0, 3, 7}) {
        DatabaseImage bad = image();
        setTableStart(bad, k, bad.tableStart[k + 1] + 1);
        OpenedDatabase decreasing(install(bad, "bad" + std::to_string(k) + ".ydb"));
        EXPECT_EQ(decreasing->lastError, errorBoundaryOrder) << k;
    }
    EXPECT_EQ(damagedBoxes(), 3u);
}

TEST_F(OpenDatabaseTest, ATitleOfEightyCharactersIsKeptOneMoreIsNone) {
    DatabaseImage eighty = image();
    patchBytes(eighty, ydb::titleOffset, std::string(80, 'T') + '\0');
    OpenedDatabase kept(install(eighty, "t80.ydb"));
    ASSERT_NE(kept->title, nullptr);
    EXPECT_EQ(std::string(kept->title).size(), 80u);

    DatabaseImage longer = image();
    patchBytes(longer, ydb::titleOffset, std::string(81, 'T'));
    OpenedDatabase none(install(longer, "t81.ydb"));
    EXPECT_EQ(none->lastError, 0);
    EXPECT_EQ(none->title, nullptr);
}

TEST_F(OpenDatabaseTest, TheWindowIsAQuarterOfTheMemoryReadAtStartUp) {
    OpenedDatabase db(installEdition(sampleEdition(), "a.ydb"));
    setFreeMemory(8u << 20);
    emu::setAvailablePhysicalMemory(1u << 20);  // changed since the reading: not looked at
    emu::clearJournal();
    ASSERT_EQ(readRecord(*db, tableFirms, 0, 0, noCap), 0);
    EXPECT_GE(db->windowCapacity, 2u << 20);
    EXPECT_LT(db->windowCapacity, (2u << 20) + 16);
    EXPECT_TRUE(emu::journal().empty());
}

TEST_F(OpenDatabaseTest, BelowTheFloorOtherApplicationsAreAskedToClose) {
    OpenedDatabase db(installEdition(sampleEdition(), "a.ydb"));
    setFreeMemory(1000000);
    emu::setReclaimableMemory(10000000);
    emu::clearJournal();
    ASSERT_EQ(readRecord(*db, tableFirms, 0, 0, noCap), 0);
    const std::vector<std::string> journal = emu::journal();
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0], "SHCloseApps 4120576");
    EXPECT_EQ(databaseProgram.memoryReading.dwAvailPhys, windowMemoryFloor);
    EXPECT_GE(db->windowCapacity, windowMemoryFloor / 4);
    EXPECT_LT(db->windowCapacity, windowMemoryFloor / 4 + 16);
}

TEST_F(OpenDatabaseTest, NoWindowMeansTheSorryMessageAndNoRead) {
    OpenedDatabase db(installEdition(sampleEdition(), "a.ydb"));
    emu::failLocalAlloc(ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(readRecord(*db, tableFirms, 0, 0, noCap), errorNoWindow);
    EXPECT_EQ(db->lastError, static_cast<int32_t>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(db->window, nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, sorryCaption);
    EXPECT_EQ(boxes[0].text, u"Для работы программы недостаточно памяти.\nВыгрузите из памяти ненужные приложения\n"
                             u"и повторите попытку.");
    // The next read tries again.
    EXPECT_EQ(readRecord(*db, tableFirms, 0, 0, noCap), 0);
}

TEST_F(OpenDatabaseTest, AfterReleaseTheNextReadBuildsANewWindow) {
    OpenedDatabase db(installEdition(sampleEdition(), "a.ydb"));
    ASSERT_EQ(readRecord(*db, tableFirms, 0, detailBody, noCap), 0);
    const std::string first = db->firm.name;
    releaseWindow(*db);
    EXPECT_EQ(db->window, nullptr);
    EXPECT_EQ(db->windowCapacity, 0u);
    setFreeMemory(4u << 20);
    ASSERT_EQ(readRecord(*db, tableFirms, 0, detailBody, noCap), 0);
    EXPECT_EQ(std::string(db->firm.name), first);
    EXPECT_LT(db->windowCapacity, (1u << 20) + 16);
}

TEST_F(OpenDatabaseTest, ClosingGivesBackEveryBlock) {
    const size_t before = emu::liveLocalBlocks();
    {
        OpenedDatabase db(installEdition(sampleEdition(), "a.ydb"));
        ASSERT_EQ(readRecord(*db, tableRubricFirms, 0, 0, noCap), 0);
        ASSERT_EQ(readRecord(*db, tableStreetFirms, 0, detailList, noCap), 0);
        ASSERT_EQ(readRecord(*db, tableFirms, db->rubricFirms.firmRefs[0], 7, noCap), 0);
        EXPECT_GT(emu::liveLocalBlocks(), before);
    }
    EXPECT_EQ(emu::liveLocalBlocks(), before);
}

} // namespace
