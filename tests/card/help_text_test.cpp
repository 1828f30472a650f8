// Help texts read from a database's resource area: the walk past other chunks, the codes of a
// broken chain, a text that ends early kept and terminated, and the fuzz corpus replayed.
#include "card/html_pane.h"
#include "db/format.h"
#include "emulator.h"
#include "fuzz/area_database.h"
#include "fuzz/card/help_exercise.h"
#include "tests/corpus_replay.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A chunk of the body, its size field the true one unless `size` is given.
std::string chunk(const char* tag, const std::string& body, int64_t size = -1)
{
    std::string bytes(ydb::chunkHeaderSize, '\0');
    bytes[0] = tag[0];
    bytes[1] = tag[1];
    const uint32_t total = static_cast<uint32_t>(size >= 0 ? size : int64_t{ydb::chunkHeaderSize} + int64_t(body.size()));
    for (int i = 0; i < 4; ++i)
        bytes[ydb::chunkSizeOffset + i] = static_cast<char>((total >> (8 * i)) & 0xFF);
    return bytes + body;
}

class HelpText : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(prepareHelpExercise()); }

    // Help text n of a database whose area is `area`: the code, and the text when there is one.
    static int load(const std::string& area, int n, std::string& text)
    {
        DirectoryDatabase* db =
            openAreaDatabase(reinterpret_cast<const uint8_t*>(area.data()), area.size(), "help test");
        HtmlPane pane{};
        pane.historyIndex = -1;
        const int code = loadHelpText(pane, n);
        text = pane.text != nullptr ? pane.text : "";
        if (pane.text != nullptr)
            LocalFree(pane.text);
        closeAreaDatabase(db);
        return code;
    }
};

TEST_F(HelpText, TextsAreCountedAmongTextsAndOtherChunksSteppedOver)
{
    const std::string area = chunk("BM", std::string(40, 'p')) + chunk("HT", "<p>first</p>") +
                             chunk("XY", "zz") + chunk("HT", "<p>second</p>");
    std::string text;
    EXPECT_EQ(load(area, 0, text), 0);
    EXPECT_EQ(text, "<p>first</p>");
    EXPECT_EQ(load(area, 1, text), 0);
    EXPECT_EQ(text, "<p>second</p>");
    EXPECT_EQ(load(area, 2, text), -1) << "the area ends before a third";
    EXPECT_EQ(text, "");
}

TEST_F(HelpText, ABrokenChainEndsTheWalkInsteadOfStandingStill)
{
    std::string text;
    EXPECT_EQ(load(chunk("XY", "", 3) + chunk("HT", "<p>x</p>"), 0, text), -1) << "a chunk below its header";
    EXPECT_EQ(load(chunk("XY", "", 0) + chunk("HT", "<p>x</p>"), 0, text), -1) << "a chunk of no size";
    EXPECT_EQ(load(chunk("HT", "<p>x</p>") + chunk("XY", "", 0xFFFFFFF0u), 1, text), -1) << "past 4 GB";
    EXPECT_EQ(load("HT\x20", 0, text), -1) << "a header cut short";
}

TEST_F(HelpText, AShortTextIsKeptAsFarAsItArrivedAndTerminated)
{
    std::string text;
    // The chunk claims 2 GB; only what the file holds is asked for.
    EXPECT_EQ(load(chunk("HT", "<p>cut</p>", 0x7FFFFFFF), 0, text), -3);
    EXPECT_EQ(text, "<p>cut</p>");
    emu::failLocalAllocAbove(1u << 20);
    EXPECT_EQ(load(chunk("HT", "<p>cut</p>", 0x7FFFFFFF), 0, text), -3) << "no huge block was asked for";
    emu::clearFaults();
    EXPECT_EQ(load(chunk("HT", std::string("<p>a\0b</p>", 10)), 0, text), 0);
    EXPECT_EQ(text, "<p>a") << "the view reads the text up to its first 0 byte";
}

TEST_F(HelpText, NoDatabaseAndNoMemory)
{
    HtmlPane pane{};
    EXPECT_EQ(loadHelpText(pane, 0), -6);
    std::string text;
    emu::failLocalAlloc();
    EXPECT_EQ(load(chunk("HT", "<p>x</p>"), 0, text), -2);
    emu::clearFaults();
}

TEST_F(HelpText, TheFuzzCorpusReplays)
{
    EXPECT_GT(replayCorpus(DIR_HELP_CORPUS, [](const uint8_t* data, size_t size) { exerciseHelpTexts(data, size); }),
              0u);
}

}  // namespace
