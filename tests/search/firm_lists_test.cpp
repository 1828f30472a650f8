#include <gtest/gtest.h>

#include "search/firm_lists.h"
#include "search/letter_index.h"
#include "search/messages.h"
#include "search/street_list.h"
#include "tests/search/search_fixture.h"
#include "tools/writer/image_patch.h"

namespace {

using u16s = std::vector<std::u16string>;

class FirmListTest : public SearchTest {
protected:
    RecordingList list;
    ScriptedHooks hooks;
};

Edition rubricEdition() {
    Edition e;
    e.title = "T";
    e.streets = {{cp1251(u"НЕВ"), cp1251(u"Невский пр."), {}}};
    e.firms = {firmNamed(u"Аптека", 0, 12, u"А"), firmNamed(u"Булочная", 0, 0), firmNamed(u"Вокзал", 0, 10000),
               firmNamed(u"Гараж"), firmNamed(u"Дом", 0, 9999)};
    e.rubrics = {{"01", "R", 3, true, {4, 3, 2, 1, 0}}, {"02", "Empty", 3, true, {}}};
    return e;
}

TEST_F(FirmListTest, RubricLinesCarryStreetAndHouseInStoredOrder) {
    DirectoryDatabase& d = open(rubricEdition());
    fillRubricFirmList(d, image.rubricListRefs[0], list, hooks);
    EXPECT_EQ(list.texts(), (u16s{u"Дом, Невский пр., 9999", u"Гараж", u"Вокзал, Невский пр.",
                                  u"Булочная, Невский пр.", u"Аптека, Невский пр., 12/А"}));
    EXPECT_EQ(list.lines[0].value, image.firmRefs[4]);
    EXPECT_TRUE(hooks.shown.empty());

    RecordingList empty;
    fillRubricFirmList(d, image.rubricListRefs[1], empty, hooks);
    EXPECT_TRUE(empty.lines.empty());
    fillRubricFirmList(d, 0xFFFFFF00u, empty, hooks);  // a list that cannot be read: no lines, no message
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_TRUE(hooks.shown.empty());
}

TEST_F(FirmListTest, AStreetCountBeyondTheTableStillGivesTheStreetsOfTheTable) {
    std::string error;
    ASSERT_EQ(writeEdition(rubricEdition(), image, error), writeOk);
    ASSERT_TRUE(patchU32(image, ydb::streetCountOffset, 0xFFFFFFFFu));
    const std::u16string path = install(image, "streets.ydb");
    db = createDatabase();
    openDatabase(*db, path.c_str());
    fillRubricFirmList(*db, image.rubricListRefs[0], list, hooks);
    EXPECT_EQ(streetList.count, 1u);
    ASSERT_EQ(list.lines.size(), 5u);
    EXPECT_EQ(list.lines[0].text, u"Дом, Невский пр., 9999");
}

TEST_F(FirmListTest, AnUnreadableFirmOrAFullListEndsTheRubricListWithItsMessage) {
    Edition e = rubricEdition();
    std::string error;
    ASSERT_EQ(writeEdition(e, image, error), writeOk);
    // The third reference of the list points past the firm table.
    ASSERT_TRUE(patchU32(image, absoluteOffset(image, tableRubricFirms, image.rubricListRefs[0]) + 4 + 8, 0x7FFFFFFF));
    const std::u16string path = install(image, "bad.ydb");
    db = createDatabase();
    openDatabase(*db, path.c_str());
    fillRubricFirmList(*db, image.rubricListRefs[0], list, hooks);
    EXPECT_EQ(list.lines.size(), 2u);
    ASSERT_EQ(hooks.shown.size(), 1u);
    EXPECT_EQ(hooks.shown[0].text, text::readError);
    EXPECT_EQ(hooks.shown[0].caption, text::captionDatabase);

    RecordingList small;
    small.capacity = 1;
    hooks.shown.clear();
    fillRubricFirmList(*db, image.rubricListRefs[0], small, hooks);
    EXPECT_EQ(small.lines.size(), 1u);
    ASSERT_EQ(hooks.shown.size(), 1u);
    EXPECT_EQ(hooks.shown[0].caption, text::captionList);
}

// Firms named by a two-letter beginning and a number, in key order.
Edition pairEdition(const std::vector<std::pair<std::u16string, uint32_t>>& runs) {
    Edition e;
    e.title = "T";
    for (const auto& [pair, count] : runs)
        for (uint32_t i = 0; i < count; ++i) e.firms.push_back(firmNamed(pair + u"ЯЯЯ" + std::u16string(1, u'0' + i % 10)));
    return e;
}

TEST_F(FirmListTest, LetterIndexJoinsPairsWhoseFirmsLieWithinASixtyFourthOfTheTable) {
    // АА, АБ, АВ are close together; ВА begins far enough on; ВБ is a new pair but close to ВА.
    DirectoryDatabase& d = open(pairEdition({{u"АА", 1}, {u"АБ", 1}, {u"АВ", 1}, {u"БА", 150}, {u"ВА", 1}, {u"ВБ", 1}}));
    fillLetterIndex(d, list, hooks);
    EXPECT_EQ(list.texts(), (u16s{u"АА", u"БА", u"ВА"}));
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(list.lines[0].value, 0);

    // The first line lists the firms of all three pairs; the last runs to the end of the table.
    RecordingList firms;
    fillLetterFirms(d, static_cast<uint32_t>(list.lines[0].value), static_cast<uint32_t>(list.lines[1].value), firms, hooks);
    EXPECT_EQ(firms.texts(), (u16s{u"ААЯЯЯ0", u"АБЯЯЯ0", u"АВЯЯЯ0"}));
    RecordingList last;
    fillLetterFirms(d, static_cast<uint32_t>(list.lines[2].value), tableLength(d, tableFirms), last, hooks);
    EXPECT_EQ(last.texts(), (u16s{u"ВАЯЯЯ0", u"ВБЯЯЯ0"}));
    EXPECT_EQ(last.lines[1].value, image.firmRefs[154]);
    EXPECT_TRUE(hooks.shown.empty());
}

TEST_F(FirmListTest, LetterFirmsStopAtTenThousandWithTheOverflowMessage) {
    DirectoryDatabase& d = open(pairEdition({{u"АА", 10001}}));
    fillLetterFirms(d, 0, tableLength(d, tableFirms), list, hooks);
    EXPECT_EQ(list.lines.size(), 10000u);
    ASSERT_EQ(hooks.shown.size(), 1u);
    EXPECT_EQ(hooks.shown[0].text, text::letterLimit);
    EXPECT_EQ(hooks.shown[0].caption, text::captionOverflow);
}

TEST_F(FirmListTest, AFirstIndexEntryOfAnEmptyPrefixStillOpensALine) {
    Edition e = pairEdition({{u"АА", 2}});
    e.firms.push_back(firmNamed(u"«...»"));  // key "»"... and one made only of dropped characters
    e.firms.push_back(firmNamed(u"- . -"));
    DirectoryDatabase& d = open(e);
    fillLetterIndex(d, list, hooks);
    ASSERT_FALSE(list.lines.empty());
    EXPECT_EQ(list.lines[0].text, u"");
    EXPECT_EQ(list.lines[0].value, 0);
    RecordingList firms;
    fillLetterFirms(d, 0, tableLength(d, tableFirms), firms, hooks);
    EXPECT_EQ(firms.lines.size(), 4u);
}

}  // namespace
