// The favourites fuzz target's corpus (the line-break, comment, limit and code-page cases, and any
// input that once broke the reading) replayed through its exercise on every run.
#include "fuzz/shell/favourites_exercise.h"
#include "tests/corpus_replay.h"

#include <unistd.h>

namespace {

TEST(FavouritesCorpus, EveryInputGivesSlotsOrNoneAndTapsOnlyRubricsWithFirms)
{
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("favourites-corpus-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root);
    ASSERT_TRUE(prepareFavouritesExercise(root.string()));
    int slotsSeen = 0;
    const size_t files = forEachCorpusFile(DIR_FAVOURITES_CORPUS, [&](const std::string&, const std::string& bytes) {
        slotsSeen += exerciseFavourites(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    });
    EXPECT_GE(files, 16u);
    EXPECT_GT(slotsSeen, 0);
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

}  // namespace
