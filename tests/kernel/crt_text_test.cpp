// The run-time's case-insensitive comparison, as the home screen matches tile captions against
// rubric titles: Cyrillic of either case, a count shorter or longer than the texts.
#include "win32.h"

#include <gtest/gtest.h>

#include <string>

TEST(WcsnicmpTest, CyrillicAndLatinLettersOfEitherCaseMatch)
{
    EXPECT_EQ(_wcsnicmp(W("МИЛИЦИЯ района"), W("милиция РАЙОНА"), 14), 0);
    EXPECT_EQ(_wcsnicmp(W("Ёлки"), W("ёЛКИ"), 4), 0);
    EXPECT_EQ(_wcsnicmp(W("Taxi"), W("TAXI"), 4), 0);
}

TEST(WcsnicmpTest, OnlyTheFirstCountCharactersCount)
{
    // A caption that is the beginning of a longer title.
    EXPECT_EQ(_wcsnicmp(W("Скорая помощь, станции"), W("скорая помощь"), 13), 0);
    EXPECT_NE(_wcsnicmp(W("Скорая помощь, станции"), W("скорая помощь"), 14), 0);
    EXPECT_EQ(_wcsnicmp(W("abc"), W("xyz"), 0), 0);
    // Spaces are characters like any other: " Милиция " does not match "Милиция ".
    EXPECT_NE(_wcsnicmp(W("Милиция района"), W(" Милиция "), 9), 0);
    EXPECT_EQ(_wcsnicmp(W(" Милиция района"), W(" Милиция "), 9), 0);
}

TEST(WcsnicmpTest, StopsAtTheEndOfTheShorterText)
{
    EXPECT_EQ(_wcsnicmp(W("abc"), W("ABC"), 100), 0);
    EXPECT_LT(_wcsnicmp(W("ab"), W("ABC"), 100), 0);
    EXPECT_GT(_wcsnicmp(W("abd"), W("ABC"), 3), 0);
}

TEST(KernelTextTest, LengthAndCopyOfWideTexts)
{
    EXPECT_EQ(lstrlenW(W("Москва")), 6);
    EXPECT_EQ(lstrlenW(W("")), 0);
    EXPECT_EQ(lstrlenW(nullptr), 0);
    WCHAR copy[8] = {u'x', u'x', u'x', u'x', u'x', u'x', u'x', u'x'};
    EXPECT_EQ(lstrcpyW(copy, W("СПб")), copy);
    EXPECT_EQ(std::u16string(copy), u"СПб");
    EXPECT_EQ(copy[4], u'x') << "nothing written past the terminator";
}
