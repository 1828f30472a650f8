// The fuzz target's corpus (valid seeds and the inputs that once broke something) replayed through
// the same exercise on every test run: open, every table with every detail flag, two window sizes.
#include <filesystem>
#include <fstream>

#include "fuzz/db/database_exercise.h"
#include "tests/db/test_support.h"

namespace {

class CorpusTest : public DeviceTest {};

TEST_F(CorpusTest, EveryCorpusFileIsReadEveryWayWithoutBreakingAnything) {
    ASSERT_TRUE(prepareDatabaseExercise(root));
    const std::filesystem::path corpus = DIR_DATABASE_CORPUS;
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        SCOPED_TRACE(entry.path().filename().string());
        exerciseDatabase(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++files;
    }
    EXPECT_GE(files, 7u);
    // The damaged seeds were reported while being read.
    EXPECT_GT(exerciseMessageBoxes(), 0u);
}

} // namespace
