// The fuzz corpora of database files (the database target's and the search target's own: valid
// seeds and inputs that once broke the reader) replayed through every list and search on every
// test run.
#include "fuzz/search/search_exercise.h"
#include "tests/corpus_replay.h"
#include "tests/search/search_fixture.h"
#include "tools/writer/image_patch.h"

namespace {

class SearchCorpusTest : public SearchTest {
protected:
    void exercise(const DatabaseImage& damaged) {
        exerciseSearches(damaged.bytes.data(), damaged.bytes.size());
    }
};

TEST_F(SearchCorpusTest, EveryCorpusFileGoesThroughEveryQuery) {
    ASSERT_TRUE(prepareSearchExercise(root));
    EXPECT_GE(replayCorpus(DIR_DATABASE_CORPUS, exerciseSearches), 7u);
    EXPECT_GE(replayCorpus(DIR_SEARCH_CORPUS, exerciseSearches), 1u);
    EXPECT_GT(exercisedLines(), 0u);
}

// Damage the queries meet first: lists and indexes pointing anywhere, counts far too large.
TEST_F(SearchCorpusTest, ListsAndIndexesThatPointAnywhereEndTheirQueries) {
    ASSERT_TRUE(prepareSearchExercise(root));
    Edition e = generatedEdition(400, 9);
    for (uint32_t r = 0; r < 5; ++r) {
        EditionRubric rubric{"0" + std::to_string(r), "R", 3, true, {}};
        for (uint32_t i = r; i < 400; i += 3) rubric.firms.push_back(i);
        e.rubrics.push_back(rubric);
    }
    std::string error;
    ASSERT_EQ(writeEdition(e, image, error), writeOk);
    const DatabaseImage good = image;
    const size_t before = exercisedLines();
    exercise(good);
    EXPECT_GT(exercisedLines(), before + 400);

    const uint32_t wild[] = {0, 1, 9, 0x7FFFFFFF, 0xFFFFFFF0, 0xFFFFFFFF};
    for (uint32_t value : wild) {
        SCOPED_TRACE(value);
        DatabaseImage d = good;
        ASSERT_TRUE(patchU32(d, absoluteOffset(d, tableRubricFirms, d.rubricListRefs[1]) + 8, value));
        ASSERT_TRUE(patchU32(d, absoluteOffset(d, tablePrefixes, 10) + 6, value));
        ASSERT_TRUE(patchU32(d, absoluteOffset(d, tablePhones, 8) + 4, value));
        ASSERT_TRUE(patchU32(d, absoluteOffset(d, tableFirms, d.firmRefs[d.firmOrder[3]]) + 2 + 10, value));
        exercise(d);
        DatabaseImage counts = good;
        ASSERT_TRUE(patchU32(counts, ydb::prefixCountOffset, value));
        ASSERT_TRUE(patchU32(counts, ydb::phoneCountOffset, value));
        ASSERT_TRUE(patchU32(counts, ydb::streetCountOffset, value));
        ASSERT_TRUE(patchU32(counts, ydb::rubricCountOffset, value));
        exercise(counts);
    }
    // The firm table cut in the middle of a record.
    DatabaseImage cut = good;
    ASSERT_TRUE(setTableStart(cut, tableFirms + 1, cut.tableStart[tableFirms] + cut.firmRefs[cut.firmOrder[200]] + 5));
    exercise(cut);
}

}  // namespace
