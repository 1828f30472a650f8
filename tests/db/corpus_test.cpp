// The fuzz target's corpus (valid seeds and the inputs that once broke something) replayed through
// the same exercise on every test run: open, every table with every detail flag, two window sizes.
#include "fuzz/db/database_exercise.h"
#include "tests/corpus_replay.h"
#include "tests/db/test_support.h"

namespace {

class CorpusTest : public DeviceTest {};

TEST_F(CorpusTest, EveryCorpusFileIsReadEveryWayWithoutBreakingAnything) {
    ASSERT_TRUE(prepareDatabaseExercise(root));
    EXPECT_GE(replayCorpus(DIR_DATABASE_CORPUS, exerciseDatabase), 7u);
    // The damaged seeds were reported while being read.
    EXPECT_GT(exerciseMessageBoxes(), 0u);
}

} // namespace
