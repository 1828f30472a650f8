// Database discovery over folder trees of the device file system: depth first, names holding
// ".ydb" or ".YDB", at most three usable files, the program's folder before the install folder,
// the start database and changing between the choices.
#include "db/discovery.h"
#include "tests/db/test_support.h"
#include "tools/writer/image_patch.h"

namespace {

constexpr char16_t programPath[] = u"\\Program Files\\Dernolo\\Dernolo.exe";
constexpr char programFolder[] = "Program Files\\Dernolo\\";
constexpr char installFolderPath[] = "Storage Card\\Program Files\\MORVANE\\QUILLDEN\\";

class DiscoveryTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        emu::setModuleFileName(programPath);
        makeFolder("Program Files\\Dernolo");
    }
    void TearDown() override {
        closeCurrentDatabase();
        emu::setModuleFileName(programPath);
        DeviceTest::TearDown();
    }

    // A usable database titled `title` at a device path (folders are made).
    void database(const std::string& devicePath, const std::string& title) {
        Edition e = sampleEdition();
        e.title = title;
        installEdition(e, devicePath);
    }
    void database(const std::string& devicePath) { database(devicePath, "Edition of " + devicePath); }

    std::vector<std::string> choicePaths() const {
        std::vector<std::string> out;
        for (int i = 0; i < databaseProgram.choices.count; ++i)
            out.push_back(emu::toUtf8(databaseProgram.choices.entries[i].path));
        return out;
    }
    static std::u16string wideOf(const std::string& text) { return emu::fromUtf8(text); }
};

TEST_F(DiscoveryTest, FoldersAreSearchedDepthFirstInListingOrder) {
    database("Program Files\\Dernolo\\b.ydb");
    database("Program Files\\Dernolo\\a\\deep\\z.ydb");
    database("Program Files\\Dernolo\\C\\c.ydb");
    EXPECT_EQ(discoverDatabases(wideOf("\\Program Files\\Dernolo\\").c_str()), 3);
    EXPECT_EQ(choicePaths(), (std::vector<std::string>{"\\Program Files\\Dernolo\\a\\deep\\z.ydb",
                                                       "\\Program Files\\Dernolo\\b.ydb",
                                                       "\\Program Files\\Dernolo\\C\\c.ydb"}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DiscoveryTest, TheNameMayHoldTheExtensionAnywhereButOnlyInTwoSpellings) {
    database("f\\base.ydb.old");
    database("f\\BASE2.YDB");
    database("f\\mixed.Ydb");
    database("f\\mixed2.yDB");
    database("f\\plain.txt");
    database("f\\x.ydbx");
    EXPECT_EQ(discoverDatabases(u"\\f\\"), 3);
    EXPECT_EQ(choicePaths(), (std::vector<std::string>{"\\f\\base.ydb.old", "\\f\\BASE2.YDB", "\\f\\x.ydbx"}));
}

TEST_F(DiscoveryTest, AFolderNamedLikeADatabaseIsSearchedNotOpened) {
    database("f\\archive.ydb\\inner.ydb");
    EXPECT_EQ(discoverDatabases(u"\\f\\"), 1);
    EXPECT_EQ(choicePaths(), (std::vector<std::string>{"\\f\\archive.ydb\\inner.ydb"}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DiscoveryTest, AtMostThreeAreKeptAndTheRestIsNotLookedAt) {
    for (const char* name : {"1.ydb", "2.ydb", "3.ydb"}) database(std::string("f\\") + name);
    // A damaged fourth: opening it would show its message.
    DatabaseImage bad;
    std::string error;
    ASSERT_EQ(writeEdition(sampleEdition(), bad, error), writeOk);
    setTableStart(bad, 8, static_cast<uint32_t>(bad.bytes.size()) + 1);
    install(bad, "f\\4.ydb");
    EXPECT_EQ(discoverDatabases(u"\\f\\"), 3);
    EXPECT_TRUE(boxes.empty());
    // A later call adds nothing to a full list.
    database("g\\5.ydb");
    EXPECT_EQ(discoverDatabases(u"\\g\\"), 3);
    EXPECT_EQ(choicePaths().back(), "\\f\\3.ydb");
}

TEST_F(DiscoveryTest, UsableMeansOpenedWithoutErrorAndALastTitleLineThatIsNotEmpty) {
    database("f\\1 two lines.ydb", cp1251(u"Справочник\r\nМосква"));
    database("f\\2 ends with a break.ydb", std::string(60, 'T') + "\r\n");
    database("f\\3 ends with lf.ydb", "Title\n");
    database("f\\4 empty title.ydb", "");
    database("f\\5 lf only.ydb", "First\nSecond");
    installBytes("YELDB", "f\\6 short.ydb");
    installBytes(std::string(300, 'x'), "f\\7 foreign.ydb");
    DatabaseImage bad;
    std::string error;
    ASSERT_EQ(writeEdition(sampleEdition(), bad, error), writeOk);
    setTableStart(bad, 3, bad.tableStart[4] + 1);
    install(bad, "f\\8 damaged.ydb");
    DatabaseImage noTitle = bad;
    setTableStart(noTitle, 3, noTitle.tableStart[2]);
    patchBytes(noTitle, ydb::titleOffset, std::string(81, 'L'));
    install(noTitle, "f\\9 long title.ydb");

    EXPECT_EQ(discoverDatabases(u"\\f\\"), 2);
    EXPECT_EQ(choicePaths(), (std::vector<std::string>{"\\f\\1 two lines.ydb", "\\f\\5 lf only.ydb"}));
    // Only the damaged one said something.
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(damagedBoxes(), 1u);
}

TEST_F(DiscoveryTest, TheProgramsFolderHidesTheInstallFolder) {
    database(std::string(programFolder) + "own.ydb");
    database(std::string(installFolderPath) + "installed.ydb");
    DirectoryDatabase* db = chooseStartDatabase();
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(db, databaseProgram.current);
    EXPECT_EQ(choicePaths(), (std::vector<std::string>{"\\Program Files\\Dernolo\\own.ydb"}));
    EXPECT_EQ(databaseProgram.choices.current, 0);
    EXPECT_EQ(std::string(db->title), "Edition of Program Files\\Dernolo\\own.ydb");
}

TEST_F(DiscoveryTest, TheInstallFolderIsSearchedWhenTheProgramsFolderHasNothingUsable) {
    database(std::string(installFolderPath) + "Sub\\installed.ydb");
    database(std::string(installFolderPath) + "a.ydb");
    installBytes("not a database", std::string(programFolder) + "broken.ydb");
    DirectoryDatabase* db = chooseStartDatabase();
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(choicePaths(), (std::vector<std::string>{"Storage Card\\Program Files\\MORVANE\\QUILLDEN\\a.ydb",
                                                       "Storage Card\\Program Files\\MORVANE\\QUILLDEN\\Sub\\installed.ydb"}));
    EXPECT_EQ(db->lastError, 0);
    EXPECT_EQ(std::string(db->title), "Edition of Storage Card\\Program Files\\MORVANE\\QUILLDEN\\a.ydb");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DiscoveryTest, AProgramPathWithoutABackslashGoesStraightToTheInstallFolder) {
    emu::setModuleFileName(u"Dernolo.exe");
    database("own.ydb");  // in the root, which would be "the program's folder" otherwise
    database(std::string(installFolderPath) + "installed.ydb");
    ASSERT_NE(chooseStartDatabase(), nullptr);
    EXPECT_EQ(choicePaths(),
              (std::vector<std::string>{"Storage Card\\Program Files\\MORVANE\\QUILLDEN\\installed.ydb"}));
}

// The start-up code takes its own folder from here too.
TEST_F(DiscoveryTest, TheProgramsFolderIsItsPathUpToTheLastBackslash) {
    WCHAR folder[databasePathCapacity];
    emu::setModuleFileName(u"\\Storage Card\\Dernolo\\dernolo.exe");
    ASSERT_TRUE(programFileFolder(folder, databasePathCapacity));
    EXPECT_EQ(wide(folder), u"\\Storage Card\\Dernolo\\");
    // A path cut short by a small buffer: the last backslash within it, never past the buffer.
    WCHAR small[8];
    ASSERT_TRUE(programFileFolder(small, 8));
    EXPECT_EQ(wide(small), u"\\");
    emu::setModuleFileName(u"dernolo.exe");
    EXPECT_FALSE(programFileFolder(folder, databasePathCapacity));
    EXPECT_EQ(folder[0], 0);
}

TEST_F(DiscoveryTest, TheInstallFolderIsFoundWhateverTheCaseOfItsHostFolders) {
    database("STORAGE CARD\\program files\\Morvane\\Quillden\\x.ydb");
    ASSERT_NE(chooseStartDatabase(), nullptr);
    EXPECT_EQ(choicePaths(), (std::vector<std::string>{"Storage Card\\Program Files\\MORVANE\\QUILLDEN\\x.ydb"}));
}

TEST_F(DiscoveryTest, NothingUsableAnywhereSaysSoAndGivesNoDatabase) {
    database(std::string(programFolder) + "notes.txt");
    EXPECT_EQ(chooseStartDatabase(), nullptr);
    EXPECT_EQ(databaseProgram.current, nullptr);
    EXPECT_EQ(databaseProgram.choices.count, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"НЕТ ДОСТУПНЫХ БАЗ ДАННЫХ!");
    EXPECT_EQ(boxes[0].caption, u"ОШИБКА");
    EXPECT_EQ(boxes[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
}

TEST_F(DiscoveryTest, NoHandleIsLeftBehindByTheSearch) {
    database(std::string(programFolder) + "a.ydb");
    // The search opens and closes every candidate: no handle is left behind to block the file.
    ASSERT_NE(chooseStartDatabase(), nullptr);
    closeCurrentDatabase();
    EXPECT_TRUE(DeleteFileW(u"\\Program Files\\Dernolo\\a.ydb"));
    database(std::string(programFolder) + "a.ydb");
    ASSERT_NE(chooseStartDatabase(), nullptr);
}

class ChangeDatabaseTest : public DiscoveryTest {
protected:
    static void discard(void* context) {
        auto* self = static_cast<ChangeDatabaseTest*>(context);
        ++self->discards;
        // The old database is closed before the lists are let go, and no new one is open yet.
        EXPECT_EQ(databaseProgram.current, nullptr);
    }
    int discards = 0;
};

TEST_F(ChangeDatabaseTest, ThreeChangesReturnToTheFirst) {
    database(std::string(programFolder) + "1.ydb", cp1251(u"Первая"));
    database(std::string(programFolder) + "2.ydb", cp1251(u"Вторая"));
    database(std::string(programFolder) + "3.ydb", cp1251(u"Третья"));
    ASSERT_NE(chooseStartDatabase(), nullptr);
    std::vector<std::string> titles{databaseProgram.current->title};
    for (int i = 0; i < 3; ++i) {
        DirectoryDatabase* db = changeDatabase(&ChangeDatabaseTest::discard, this);
        ASSERT_NE(db, nullptr);
        EXPECT_EQ(db, databaseProgram.current);
        titles.emplace_back(db->title);
        EXPECT_EQ(databaseProgram.choices.current, (i + 1) % 3);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{cp1251(u"Первая"), cp1251(u"Вторая"), cp1251(u"Третья"),
                                                cp1251(u"Первая")}));
    EXPECT_EQ(discards, 3);
    // The database read after a change is the new one.
    EXPECT_EQ(readRecord(*databaseProgram.current, tableFirms, 0, detailBody, noCap), 0);
}

TEST_F(ChangeDatabaseTest, WithOneChoiceNothingChanges) {
    database(std::string(programFolder) + "only.ydb");
    DirectoryDatabase* start = chooseStartDatabase();
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(changeDatabase(&ChangeDatabaseTest::discard, this), start);
    EXPECT_EQ(databaseProgram.current, start);
    EXPECT_EQ(discards, 0);
}

TEST_F(ChangeDatabaseTest, ClosingTheCurrentDatabaseGivesBackEveryBlock) {
    database(std::string(programFolder) + "1.ydb");
    database(std::string(programFolder) + "2.ydb");
    const size_t before = emu::liveLocalBlocks();
    ASSERT_NE(chooseStartDatabase(), nullptr);
    ASSERT_EQ(readRecord(*databaseProgram.current, tableRubricFirms, 0, 0, noCap), 0);
    ASSERT_NE(changeDatabase(nullptr, nullptr), nullptr);
    ASSERT_EQ(readRecord(*databaseProgram.current, tableStreetFirms, 0, detailList, noCap), 0);
    closeCurrentDatabase();
    EXPECT_EQ(databaseProgram.current, nullptr);
    EXPECT_EQ(emu::liveLocalBlocks(), before);
}

}  // namespace
