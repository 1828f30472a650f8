// The page fuzz target's corpus replayed through its exercise on every test run.
#include "page_fixture.h"

#include "fuzz/htmlview/page_exercise.h"
#include "tests/corpus_replay.h"

namespace htmlview_test {
namespace {

class PageCorpus : public PageTest {};

TEST_F(PageCorpus, EveryCorpusPageIsShownScrolledAndTapped)
{
    preparePageExercise();
    int laidOut = 0;
    const size_t files = forEachCorpusFile(DIR_PAGE_CORPUS, [&laidOut](const std::string&, const std::string& bytes) {
        const int height = exercisePage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        EXPECT_GE(height, 0);
        laidOut += height > 0;
    });
    EXPECT_GE(files, 1u);
    EXPECT_GT(laidOut, 0);
}

} // namespace
} // namespace htmlview_test
