#include <gtest/gtest.h>

#include "search/completion.h"
#include "search/messages.h"
#include "search/search_run.h"
#include "search/search_state.h"
#include "tests/search/search_fixture.h"

namespace {

using u16s = std::vector<std::u16string>;

class CompletionTest : public SearchTest {
protected:
    void typeName(std::u16string text, int32_t mode = modeNameBegins) { completeName(*db, mode, text.c_str(), box); }
    void typeStreet(std::u16string text) { completeStreet(*db, text.c_str(), box); }
    RecordingCompletion box;
};

Edition pharmacies() {
    Edition e;
    e.title = "T";
    e.firms = {firmNamed(u"АПТЕКА «Здоровье»"), firmNamed(u"АПТЕКА «Здоровье»"), firmNamed(u"АПТЕКА \"Фарм\" (ул. Мира)"),
               firmNamed(u"АПТЕКАРЬ"), firmNamed(u"АПТЕЧНЫЙ ПУНКТ")};
    e.streets = {{cp1251(u"ЛЕН"), cp1251(u"ЛЕНИНА"), {}}, {cp1251(u"ЛЕН"), cp1251(u"ЛЕНСОВЕТА"), {}},
                 {cp1251(u"МИР"), cp1251(u"МИРА"), {}}, {cp1251(u"ЛЕН"), cp1251(u"ЛЕНИНА ПЛ."), {}}};
    return e;
}

TEST_F(CompletionTest, TheFifthKeyLetterFillsTheNameListOnce) {
    open(pharmacies());
    typeName(u"АПТЕ");
    EXPECT_TRUE(box.lines.empty());
    // Separators do not count: А-ПТЕК is the five letters АПТЕК. Branches give one line, and the
    // names are listed without quotation marks and guillemets.
    typeName(u"А-ПТЕК");
    EXPECT_EQ(box.lines, (u16s{u"АПТЕКА Здоровье", u"АПТЕКАРЬ", u"АПТЕКА Фарм (ул Мира)"}));
    EXPECT_TRUE(box.open);
    EXPECT_EQ(box.restored, 1);
    // A sixth letter, and deleting letters, change nothing.
    typeName(u"А-ПТЕКА");
    typeName(u"А-ПТЕ");
    typeName(u"АПТ");
    EXPECT_EQ(box.lines.size(), 3u);
    // Typing while fewer than five remain empties the list.
    typeName(u"АПТЕ");
    EXPECT_TRUE(box.lines.empty());
    EXPECT_FALSE(box.open);
}

TEST_F(CompletionTest, TheRememberedLengthCarriesOverAndOtherModesOfferNothing) {
    open(pharmacies());
    searchState.rememberedNameLength = 9;  // longer text before the screen was cleared
    typeName(u"АПТЕК");
    EXPECT_TRUE(box.lines.empty());
    EXPECT_EQ(searchState.rememberedNameLength, 5);
    typeName(u"АПТЕЧ", modeNameContains);
    EXPECT_TRUE(box.lines.empty());
    EXPECT_EQ(searchState.rememberedNameLength, 5);  // not even remembered outside mode 0
    searchState.rememberedNameLength = 0;
    typeName(u"ЖЖЖЖЖ");  // not in the index
    EXPECT_TRUE(box.lines.empty());
}

TEST_F(CompletionTest, TheCapAndItsLineAgree) {
    Edition e;
    e.title = "T";
    for (int i = 0; i < 150; ++i) e.firms.push_back(firmNamed(u"КАФЕЯ " + std::u16string(1, u'А' + i / 32) + std::u16string(1, u'А' + i % 32)));
    open(e);
    typeName(u"КАФЕЯ");
    ASSERT_EQ(box.lines.size(), static_cast<size_t>(nameCompletionCap) + 1);
    EXPECT_EQ(box.lines.back(), text::completionOverflowLine);
    EXPECT_NE(std::u16string(text::completionOverflowLine).find(u"100"), std::u16string::npos);
}

TEST_F(CompletionTest, TheThirdStreetLetterListsTheFirstRunOfThatKey) {
    open(pharmacies());
    typeStreet(u"ЛЕ");
    EXPECT_TRUE(box.lines.empty());
    typeStreet(u"ЛЕН");
    // The run ends at the first street of another key: ЛЕНИНА ПЛ. after МИРА is not listed.
    EXPECT_EQ(box.lines, (u16s{u"ЛЕНИНА", u"ЛЕНСОВЕТА"}));
    EXPECT_TRUE(box.open);
    typeStreet(u"ЛЕНИ");
    EXPECT_EQ(box.lines.size(), 2u);
    typeStreet(u"Л");
    EXPECT_TRUE(box.lines.empty());
    typeStreet(u"М И Р");
    EXPECT_EQ(box.lines, (u16s{u"МИРА"}));
    typeStreet(u"ЖЖЖ");
    EXPECT_EQ(box.lines, (u16s{u"МИРА"}));  // nothing matched: the list stays
    EXPECT_FALSE(box.open);
}

}  // namespace
