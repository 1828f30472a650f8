// The examiner over damaged files: the database corpus, the examiner target's own corpus and
// copies of a sound edition with bytes changed all over, each checked and dumped to the end
// (under the sanitizers in the ASan run).
#include <gtest/gtest.h>

#include <random>

#include "fuzz/ydb/examine_exercise.h"
#include "tests/corpus_replay.h"
#include "tests/ydb/built_edition.h"

namespace {

class DamagedExamine : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(prepareExamineExercise()); }
};

TEST_F(DamagedExamine, TheCorporaAreExaminedToTheEnd) {
    size_t records = 0;
    const auto examine = [&records](const std::string&, const std::string& bytes) {
        records += exerciseExaminer(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    };
    EXPECT_GT(forEachCorpusFile(DIR_DATABASE_CORPUS, examine), 0u);
    EXPECT_GT(forEachCorpusFile(DIR_EXAMINE_CORPUS, examine), 0u);
    EXPECT_GT(records, 0u);
}

TEST_F(DamagedExamine, ChangedBytesAnywhereAreFoundWithoutHarm) {
    BuiltEdition built;
    std::string error;
    ASSERT_TRUE(built.build(error)) << error;
    const std::vector<uint8_t> sound = built.image.bytes;
    EXPECT_GT(exerciseExaminer(sound.data(), sound.size()), 0u);
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bytes = sound;
        for (int k = 0; k < 1 + round % 4; ++k) {
            size_t at = random() % bytes.size();
            bytes[at] = round % 3 == 0 ? 0xFF : static_cast<uint8_t>(random());
        }
        if (round % 50 == 49) bytes.resize(random() % bytes.size());
        exerciseExaminer(bytes.data(), bytes.size());
    }
}

} // namespace
