// The picture fuzz target's corpus (seeds and the inputs that once broke something) replayed
// through the same exercise on every test run.
#include "fuzz/gdi/image_exercise.h"
#include "tests/corpus_replay.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

TEST(ImageCorpus, EveryFileLoadsOrFailsCleanlyAndTheSeedsLoad)
{
    const std::filesystem::path corpus = DIR_IMAGE_CORPUS;
    int loaded = 0;
    const size_t files = forEachCorpusFile(corpus, [&loaded](const std::string& name, const std::string& bytes) {
        const int here = exerciseImageResources(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (name.ends_with(".png") || name.starts_with("dib-icon")) {
            EXPECT_GE(here, 4) << "an icon image loads at every size";
        } else if (name.ends_with(".bmp") || name.starts_with("packed")) {
            EXPECT_GE(here, 1) << "a bitmap loads";
        }
        loaded += here;
    });
    EXPECT_GE(files, 11u);
    EXPECT_GT(loaded, 0);
    // Every cut of a sound seed fails or loads without reading past its end.
    std::ifstream in(corpus / "icon32.png", std::ios::binary);
    const std::string png{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (size_t cut = 0; cut < png.size(); cut += 7)
        exerciseImageResources(reinterpret_cast<const uint8_t*>(png.data()), cut);
}

} // namespace
