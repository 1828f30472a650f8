// The fuzz targets' database mutator: what it makes of a sound edition must still open and reach
// the records most of the time, or the fuzzing behind it never gets past the first check.
#include "fuzz/db/edition_mutator.h"
#include "tests/db/test_support.h"

#include <random>

namespace {

class EditionMutatorTest : public DeviceTest {
protected:
    // Opens the bytes and answers how many tables have a first record that reads: -1 when the
    // file does not open at all.
    int tablesRead(const std::vector<uint8_t>& bytes) {
        installBytes(std::string(bytes.begin(), bytes.end()), "\\m.ydb");
        OpenedDatabase db(u"\\m.ydb");
        if (db->lastError != 0 || db->title == nullptr) return -1;
        int read = 0;
        for (int table = 0; table < ydb::tableCount; ++table)
            if (readRecord(*db, table, 0, 0, noCap) == 0) ++read;
        return read;
    }
};

TEST_F(EditionMutatorTest, MostMutatedEditionsStillOpenAndReadTheirRecords) {
    setFreeMemory(64u << 20);
    const std::vector<uint8_t>& sound = soundMutationEdition();
    ASSERT_FALSE(sound.empty());
    ASSERT_EQ(tablesRead(sound), ydb::tableCount);
    const size_t maxSize = sound.size() + 256;
    int opened = 0, allTables = 0, changed = 0;
    constexpr int chains = 200;
    for (int chain = 0; chain < chains; ++chain) {
        // A few mutations in a row, as a corpus input is mutated again and again.
        std::vector<uint8_t> bytes = sound;
        bytes.resize(maxSize);
        size_t size = sound.size();
        for (int step = 0; step < 3; ++step) {
            size = mutateEdition(bytes.data(), size, maxSize, static_cast<uint32_t>(chain * 7 + step), sound, nullptr);
            ASSERT_LE(size, maxSize);
        }
        bytes.resize(size);
        changed += bytes != sound;
        const int read = tablesRead(bytes);
        opened += read >= 0;
        allTables += read == ydb::tableCount;
    }
    // Some mutations of the header are meant to make a file fail its opening checks.
    EXPECT_GT(changed, chains * 9 / 10);
    EXPECT_GT(opened, chains * 8 / 10);
    EXPECT_GT(allTables, chains / 2) << opened << " opened";
}

TEST_F(EditionMutatorTest, BytesThatAreNoDatabaseBecomeTheSoundEdition) {
    const std::vector<uint8_t>& sound = soundMutationEdition();
    std::vector<uint8_t> bytes(sound.size(), 'x');
    EXPECT_EQ(mutateEdition(bytes.data(), 10, bytes.size(), 1, sound, nullptr), sound.size());
    EXPECT_EQ(bytes, sound);
    // Without room for it, the input is left as it was.
    std::vector<uint8_t> small(16, 'x');
    EXPECT_EQ(mutateEdition(small.data(), 10, small.size(), 1, sound, nullptr), 10u);
}

TEST_F(EditionMutatorTest, NothingGrowsBeyondTheRoomGiven) {
    const std::vector<uint8_t>& sound = soundMutationEdition();
    std::vector<uint8_t> bytes = sound;
    size_t size = bytes.size();
    for (uint32_t seed = 0; seed < 500; ++seed) {
        size = mutateEdition(bytes.data(), size, bytes.size(), seed, sound, nullptr);
        ASSERT_LE(size, bytes.size());
    }
}

} // namespace
