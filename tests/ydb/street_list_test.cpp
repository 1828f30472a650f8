#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <vector>

#include "emulator.h"
#include "search/street_list.h"
#include "tools/writer/edition_writer.h"
#include "tools/writer/image_patch.h"
#include "tools/ydb/examine/host_database.h"

namespace {

// A list of `count` streets whose references grow by uneven steps, as record lengths do.
struct OwnedList {
    StreetList list;
    explicit OwnedList(uint32_t count) {
        list.entries = new StreetListEntry[count];
        list.count = count;
        uint32_t ref = 0;
        for (uint32_t i = 0; i < count; ++i) {
            list.entries[i] = {ref, i * 4, "K", "N"};
            ref += 10 + i % 7;
        }
    }
    ~OwnedList() { freeStreetList(list); }
};

TEST(StreetList, FindsEveryStreetIncludingTheFirstAndTheLast) {
    for (uint32_t count : {1u, 2u, 3u, 1000u, 100000u}) {
        OwnedList owned(count);
        const StreetList& l = owned.list;
        EXPECT_EQ(findStreet(l, l.entries[0].ref), &l.entries[0]) << count;
        EXPECT_EQ(findStreet(l, l.entries[count - 1].ref), &l.entries[count - 1]) << count;
        for (uint32_t i = 0; i < count; i += 97) EXPECT_EQ(findStreet(l, l.entries[i].ref), &l.entries[i]);
    }
}

TEST(StreetList, AReferenceNoStreetHasFindsNothing) {
    OwnedList owned(1000);
    const StreetList& l = owned.list;
    EXPECT_EQ(findStreet(l, 1), nullptr);  // between the first two
    EXPECT_EQ(findStreet(l, l.entries[999].ref + 1), nullptr);
    EXPECT_EQ(findStreet(l, 0xFFFFFFFF), nullptr);
    StreetList empty;
    EXPECT_EQ(findStreet(empty, 0), nullptr);
}

// Streets written by the writer into a host file and loaded back through the reader.
class LoadedStreets : public ::testing::Test {
protected:
    void TearDown() override {
        freeStreetList(list);
        destroyDatabase(db);
        std::filesystem::remove_all(folder);
    }
    void write(const Edition& edition, void (*damage)(DatabaseImage&) = nullptr) {
        std::string error;
        ASSERT_EQ(writeEdition(edition, image, error), writeOk) << error;
        if (damage) damage(image);
        std::filesystem::create_directories(folder);
        ASSERT_EQ(saveImage(image, (folder / "streets.ydb").string(), error), writeOk) << error;
        db = openHostDatabase((folder / "streets.ydb").string(), error);
        ASSERT_NE(db, nullptr) << error;
        loadStreetList(list, *db);
    }
    static Edition streets(std::initializer_list<EditionStreet> items) {
        Edition e;
        e.title = "Streets";
        e.streets = items;
        return e;
    }

    std::filesystem::path folder = std::filesystem::temp_directory_path() / ("street-list-" + std::to_string(::getpid()));
    DatabaseImage image;
    DirectoryDatabase* db = nullptr;
    StreetList list;
};

TEST_F(LoadedStreets, EntriesHoldTheirReferencesAndCutTexts) {
    std::string longName(45, 'x');
    write(streets({{"NEVA", "Nevsky", {}}, {"S", longName, {}}, {"", "Liteyny", {}}}));
    ASSERT_EQ(list.count, 3u);
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(list.entries[i].ref, image.streetRefs[i]);
        EXPECT_EQ(list.entries[i].firmListRef, image.streetListRefs[i]);
        EXPECT_EQ(findStreet(list, image.streetRefs[i]), &list.entries[i]);
    }
    EXPECT_STREQ(list.entries[0].key, "NEV");
    EXPECT_STREQ(list.entries[0].name, "Nevsky");
    EXPECT_EQ(std::string(list.entries[1].name), std::string(39, 'x'));
    EXPECT_STREQ(list.entries[2].key, "");
    EXPECT_EQ(findStreet(list, image.streetRefs[1] + 1), nullptr);
    // A second load keeps the list it has.
    StreetListEntry* before = list.entries;
    loadStreetList(list, *db);
    EXPECT_EQ(list.entries, before);
}

TEST_F(LoadedStreets, AListCutShortByAFailedReadIsLoadedAgainAtItsNextUse) {
    write(streets({{"A", "A", {}}, {"B", "B", {}}, {"C", "C", {}}}));
    ASSERT_TRUE(list.complete);
    freeStreetList(list);
    releaseWindow(*db);  // the load must read the file again
    emu::failReadFile(ERROR_READ_FAULT);
    loadStreetList(list, *db);
    emu::clearFaults();
    EXPECT_FALSE(list.complete);
    EXPECT_LT(list.count, 3u);
    ASSERT_EQ(readRecord(*db, tableStreets, 0, 0, noCap), readOk) << "the next list's read";
    loadStreetList(list, *db);
    EXPECT_TRUE(list.complete);
    EXPECT_EQ(list.count, 3u) << "the addresses come back";
}

TEST_F(LoadedStreets, NoStreetsGiveAnEmptyList) {
    Edition e = streets({});
    e.rubrics.push_back({"10", "Only a rubric: a file of nothing but its header is no database", 2, false, {}});
    write(e);
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(findStreet(list, 0), nullptr);
}

TEST_F(LoadedStreets, TheHeaderCountBoundsTheList) {
    write(streets({{"A", "A", {}}, {"B", "B", {}}, {"C", "C", {}}}),
          [](DatabaseImage& written) { patchU32(written, ydb::streetCountOffset, 2); });
    EXPECT_EQ(list.count, 2u);
    EXPECT_EQ(findStreet(list, image.streetRefs[2]), nullptr);
}

// A damaged count far beyond what the table holds asks for no more than the table can hold.
TEST_F(LoadedStreets, AnInflatedCountDoesNotInflateTheList) {
    write(streets({{"A", "A", {}}, {"B", "B", {}}, {"C", "C", {}}}),
          [](DatabaseImage& written) { patchU32(written, ydb::streetCountOffset, 0xFFFFFFF0u); });
    EXPECT_EQ(list.count, 3u);
    EXPECT_NE(findStreet(list, image.streetRefs[2]), nullptr);
}

} // namespace
