// The search key and display name forms that the firm order, the prefix index and the lists share.
#include "search/search_text.h"
#include "tests/db/test_support.h"

namespace {

std::string upcased(std::u16string_view text) {
    std::string s = cp1251(text);
    upcaseText(s.data());
    return s;
}

std::string keyOf(std::string s) {
    s.resize(compactKey(s.data()));
    return s;
}

std::string nameOf(std::string s) {
    s.resize(cleanName(s.data()));
    return s;
}

TEST(SearchText, UpcaseCoversEveryCyrillicAndLatinLetterAndNothingElse) {
    EXPECT_EQ(upcased(u"абвгдеёжзийклмнопрстуфхцчшщъыьэюя"), cp1251(u"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"));
    EXPECT_EQ(upcased(u"qwertyuiopasdfghjklzxcvbnm"), "QWERTYUIOPASDFGHJKLZXCVBNM");
    // Capitals, digits, punctuation and the other letters of the code page stay.
    EXPECT_EQ(upcased(u"АЯ09 «»-.@ іїє"), cp1251(u"АЯ09 «»-.@ іїє"));
    std::string empty;
    EXPECT_EQ(upcaseText(empty.data()), empty.data());
}

TEST(SearchText, CompactKeyDropsSeparatorsButKeepsTheRightGuillemet) {
    EXPECT_EQ(keyOf(upcased(u"ООО «Ромашка»")), cp1251(u"ОООРОМАШКА»"));
    EXPECT_EQ(keyOf(cp1251(u"Ёлка-2")), cp1251(u"Елка2"));
    EXPECT_EQ(keyOf(upcased(u"Ёлка-2")), cp1251(u"ЕЛКА2"));
    EXPECT_EQ(keyOf(cp1251(u"a\"b&c'd(e)f,g-h.i j@k«l")), "abcdefghijkl");
    // Lower-case ё is not folded by the key alone.
    EXPECT_EQ(keyOf(cp1251(u"ёж")), cp1251(u"ёж"));
}

TEST(SearchText, OnlyRemovedCharactersCompactToTheEmptyText) {
    std::string s = cp1251(u" .,-«@&'\"()");
    EXPECT_EQ(compactKey(s.data()), 0u);
    EXPECT_EQ(s[0], '\0');
}

TEST(SearchText, CleanNameKeepsSpacesAndParentheses) {
    EXPECT_EQ(nameOf(cp1251(u"ООО «Ромашка» (ул. Мира)")), cp1251(u"ООО Ромашка (ул Мира)"));
    EXPECT_EQ(nameOf(cp1251(u"Ёж & Co, \"X\"-'Y'@Z")), cp1251(u"Еж  Co XYZ"));
}

} // namespace
