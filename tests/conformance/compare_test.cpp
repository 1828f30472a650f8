// The comparison of the conformance program's output with the reference record, and the list of
// known differences that a run is judged against.
#include "conformance/check/compare.h"

#include <gtest/gtest.h>

namespace conformance {
namespace {

std::vector<Difference> differencesOf(const std::string& reference, const std::string& ours)
{
    return compareRecords(parseRecord(reference), parseRecord(ours));
}

TEST(ConformanceCompare, OneMissingMessageIsOneDifferenceNotAShiftedTail)
{
    auto differences = differencesOf("case a\nm1\nm2\nm3\nm4\ncase b\nx\n", "case a\nm1\nm3\nm4\ncase b\nx\n");
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(differences[0].caseName, "a");
    EXPECT_TRUE(differences[0].hasExpected);
    EXPECT_EQ(differences[0].expected, "m2");
    EXPECT_FALSE(differences[0].hasOurs);

    differences = differencesOf("case a\nm1\nm3\n", "case a\nm1\nm2\nm3\n");
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_FALSE(differences[0].hasExpected);
    EXPECT_EQ(differences[0].ours, "m2");
}

TEST(ConformanceCompare, ChangedLinesPairInOrderAndSurplusStandsAlone)
{
    auto differences = differencesOf("case t\nsame\nw 19\nh 12\nend\n", "case t\nsame\nw 20\nh 13\nextra\nend\n");
    ASSERT_EQ(differences.size(), 3u);
    EXPECT_EQ(differences[0].expected, "w 19");
    EXPECT_EQ(differences[0].ours, "w 20");
    EXPECT_EQ(differences[1].expected, "h 12");
    EXPECT_EQ(differences[1].ours, "h 13");
    EXPECT_FALSE(differences[2].hasExpected);
    EXPECT_EQ(differences[2].ours, "extra");
}

TEST(ConformanceCompare, WholeCasesMissingOrExtraAreReported)
{
    auto differences = differencesOf("case a\n1\ncase b\n2\n", "case a\n1\ncase c\n3\n");
    ASSERT_EQ(differences.size(), 4u);
    EXPECT_EQ(differences[0].expected, "case b");
    EXPECT_EQ(differences[1].expected, "2");
    EXPECT_EQ(differences[2].ours, "case c");
    EXPECT_EQ(differences[3].ours, "3");
    EXPECT_TRUE(differencesOf("case a\r\n1\r\n", "case a\n1\n").empty());
}

TEST(ConformanceCompare, KnownDifferencesMatchByCaseAndLines)
{
    std::vector<KnownDifference> known;
    std::string error;
    ASSERT_TRUE(parseKnownDifferences("# face\n"
                                      "difference text\n  expected: w 19\n  ours: *\n  reason: face not yet Tahoma\n"
                                      "difference list\n  expected: (none)\n  ours: LBN_SELCHANGE  twice\n  reason: r\n"
                                      "difference list\n  expected: gone\n  ours: (none)\n  reason: r\n"
                                      "difference edit\n  expected: stale\n  ours: *\n  reason: mended since\n",
                                      known, error))
        << error;
    ASSERT_EQ(known.size(), 4u);
    EXPECT_EQ(known[1].ours, "LBN_SELCHANGE  twice");

    auto differences = differencesOf("case text\nw 19\ncase list\na\ngone\ncase other\nw 19\n",
                                     "case text\nw 21\ncase list\nLBN_SELCHANGE  twice\na\ncase other\nw 20\n");
    Verdict verdict = judge(differences, known);
    EXPECT_EQ(verdict.listed, 3u);
    // The same line in another case is not covered by the entry for "text".
    ASSERT_EQ(verdict.unlisted.size(), 1u);
    EXPECT_EQ(verdict.unlisted[0].caseName, "other");
    ASSERT_EQ(verdict.stale.size(), 1u);
    EXPECT_EQ(verdict.stale[0]->reason, "mended since");
    EXPECT_EQ(formatDifference(verdict.unlisted[0]), "difference other\n  expected: w 19\n  ours: w 20\n");
}

TEST(ConformanceCompare, AnEntryForAChangedLineDoesNotCoverItsDisappearance)
{
    std::vector<KnownDifference> known;
    std::string error;
    ASSERT_TRUE(parseKnownDifferences("difference a\n expected: x\n ours: y\n reason: r\n", known, error));
    EXPECT_TRUE(judge(differencesOf("case a\nx\n", "case a\ny\n"), known).unlisted.empty());
    EXPECT_EQ(judge(differencesOf("case a\nx\n", "case a\n"), known).unlisted.size(), 1u);
}

TEST(ConformanceCompare, MalformedListsAreRefused)
{
    std::vector<KnownDifference> known;
    std::string error;
    EXPECT_FALSE(parseKnownDifferences("difference a\n expected: x\n ours: *\n", known, error));
    EXPECT_NE(error.find("no reason"), std::string::npos);
    EXPECT_FALSE(parseKnownDifferences("expected: x\n", known, error));
    EXPECT_FALSE(parseKnownDifferences("difference a\n expect: x\n reason: r\n", known, error));
    EXPECT_FALSE(parseKnownDifferences("difference a\n reason: r\n", known, error));
    EXPECT_TRUE(parseKnownDifferences("# nothing listed\n\n", known, error));
    EXPECT_TRUE(known.empty());
}

} // namespace
} // namespace conformance
