#include <gtest/gtest.h>

#include <cstdio>

#include "emulator.h"
#include "search/rubric_table.h"
#include "tests/search/search_fixture.h"
#include "tools/writer/image_patch.h"

namespace {

using u16s = std::vector<std::u16string>;

EditionRubric rubric(const char* code, std::u16string_view title, uint8_t flags = 3, bool firms = true) {
    return {code, cp1251(title), flags, firms, firms ? std::vector<uint32_t>{0} : std::vector<uint32_t>{}};
}

class RubricTableTest : public SearchTest {
protected:
    Edition edition() {
        Edition e;
        e.title = "T";
        e.firms = {firmNamed(u"Фирма")};
        return e;
    }
    RecordingTree tree;
    ScriptedHooks hooks;
};

TEST_F(RubricTableTest, ChildrenHangUnderTheNearestEarlierParentInPreOrder) {
    Edition e = edition();
    e.rubrics = {rubric("01", u"Один", 3, false), rubric("0101", u"Один-один"), rubric("0102", u"Один-два"),
                 rubric("02", u"Два")};
    buildRubricTable(open(e), &tree, hooks);
    ASSERT_EQ(tree.items.size(), 4u);
    EXPECT_EQ(tree.childrenOf(0), (u16s{u"Один", u"Два"}));
    EXPECT_EQ(tree.childrenOf(1), (u16s{u"Один-один", u"Один-два"}));
    EXPECT_TRUE(tree.sortedParents.empty());

    const RubricTable& table = searchState.rubricTable;
    ASSERT_EQ(table.count, 5u);
    EXPECT_STREQ(table.entries[0].code, "");
    EXPECT_EQ(table.entries[0].firmListRef, noFirmList);
    EXPECT_EQ(table.entries[1].firmListRef, noFirmList);
    for (uint32_t i = 1; i < 5; ++i) EXPECT_EQ(table.entries[i].recordRef, image.rubricRefs[i - 1]) << i;
    EXPECT_EQ(table.entries[3].parentItem, table.entries[1].treeItem);
    EXPECT_EQ(findRubricEntry(table.entries[4].treeItem), 4);
    EXPECT_EQ(findRubricEntry(0), -1);
}

TEST_F(RubricTableTest, DuplicatesAreSiblingsAndFlatModeListsOnlyPickableRubricsWithFirms) {
    Edition e = edition();
    e.rubrics = {rubric("01", u"Раздел", 3, false), rubric("0101", u"Яблоки"), rubric("0101", u"Арбузы"),
                 rubric("0102", u"Без флага", 2), rubric("0103", u"Скрытая", 1)};
    DirectoryDatabase& d = open(e);
    buildRubricTable(d, &tree, hooks);
    EXPECT_EQ(tree.childrenOf(1), (u16s{u"Яблоки", u"Арбузы", u"Без флага"}));
    // Hidden from the hierarchy, the rubric keeps its entry, pointing at the item before it.
    const RubricTable& table = searchState.rubricTable;
    ASSERT_EQ(table.count, 6u);
    EXPECT_EQ(table.entries[5].treeItem, table.entries[4].treeItem);
    EXPECT_EQ(findRubricEntry(table.entries[5].treeItem), 4);

    searchState.flatMode = 1;
    RecordingTree flat;
    buildRubricTable(d, &flat, hooks);
    EXPECT_EQ(flat.childrenOf(0), (u16s{u"Яблоки", u"Арбузы", u"Скрытая"}));
    EXPECT_EQ(flat.sortedParents, (std::vector<TreeItem>{0}));
}

TEST_F(RubricTableTest, WithoutATreeTheTableIsBuiltOnlyOnce) {
    Edition e = edition();
    e.rubrics = {rubric("01", u"Один")};
    DirectoryDatabase& d = open(e);
    buildRubricTable(d, nullptr, hooks);
    ASSERT_EQ(searchState.rubricTable.count, 2u);
    searchState.rubricTable.count = 1;  // a build without a tree must leave an existing table alone
    buildRubricTable(d, nullptr, hooks);
    EXPECT_EQ(searchState.rubricTable.count, 1u);
    buildRubricTable(d, &tree, hooks);
    EXPECT_EQ(searchState.rubricTable.count, 2u);
}

TEST_F(RubricTableTest, ATableCutShortByAFailedReadIsBuiltAgainWithoutATree) {
    Edition e = edition();
    e.rubrics = {rubric("01", u"Один"), rubric("02", u"Два")};
    DirectoryDatabase& d = open(e);
    emu::failReadFile(ERROR_READ_FAULT);
    buildRubricTable(d, nullptr, hooks);
    emu::clearFaults();
    EXPECT_EQ(searchState.rubricTable.count, 1u) << "only the root before the failed read";
    EXPECT_FALSE(searchState.rubricTable.complete);
    ASSERT_EQ(readRecord(d, 3, 0, 0, noCap), 0) << "the next card reads its firm";
    buildRubricTable(d, nullptr, hooks);
    EXPECT_EQ(searchState.rubricTable.count, 3u) << "the card's next look-up builds the whole table";
    EXPECT_TRUE(searchState.rubricTable.complete);
}

TEST_F(RubricTableTest, OpeningChoosesWhenAskedAndOtherwiseOpensOnlyRubricsWithFirms) {
    Edition e = edition();
    e.rubrics = {rubric("0A", u"Заголовок", 3, false), rubric("0A0B0C0D", u"Длинный код")};
    buildRubricTable(open(e), &tree, hooks);
    EXPECT_EQ(openRubric(1, u"Заголовок"), rubricNothing);
    EXPECT_EQ(openRubric(7, u"нет"), rubricNothing);
    EXPECT_EQ(openRubric(2, u"Длинный код"), rubricFirmList);
    EXPECT_EQ(searchState.firmListRequest.firmListRef, image.rubricListRefs[1]);
    EXPECT_EQ(searchState.firmListRequest.rubricIndex, 2);

    // A heading can be chosen as a theme; the code is cut to six characters.
    searchState.rubricChoice.marker = choiceAsked;
    EXPECT_EQ(openRubric(1, u"Заголовок"), rubricChosen);
    EXPECT_EQ(searchState.rubricChoice.marker, choiceMade);
    EXPECT_STREQ(searchState.rubricChoice.code, "0A");
    searchState.rubricChoice.marker = choiceAsked;
    EXPECT_EQ(openRubric(2, u"Длинный код"), rubricChosen);
    EXPECT_STREQ(searchState.rubricChoice.code, "0A0B0C");
    EXPECT_EQ(std::u16string(searchState.rubricChoice.title), u"Длинный код");
    EXPECT_EQ(searchState.rubricChoice.index, 2);
    // Enter opens the firm list even when a choice is asked for.
    searchState.rubricChoice.marker = choiceAsked;
    EXPECT_EQ(openRubricFirmList(2), rubricFirmList);
    EXPECT_EQ(openRubricFirmList(1), rubricNothing);
}

TEST_F(RubricTableTest, ADamagedRecordEndsTheTableWithTheRubricsReadSoFar) {
    Edition e = edition();
    e.rubrics = {rubric("01", u"Один"), rubric("02", u"Два"), rubric("03", u"Три")};
    std::string error;
    ASSERT_EQ(writeEdition(e, image, error), writeOk);
    // The third record loses its terminating bytes: the table ends before it.
    ASSERT_TRUE(setTableStart(image, 1, image.tableStart[0] + image.rubricRefs[2] + 3));
    const std::u16string path = install(image, "cut.ydb");
    db = createDatabase();
    openDatabase(*db, path.c_str());
    buildRubricTable(*db, &tree, hooks);
    EXPECT_EQ(tree.childrenOf(0), (u16s{u"Один", u"Два"}));
    EXPECT_EQ(searchState.rubricTable.count, 3u);
}

TEST_F(RubricTableTest, ARubricCountBeyondTheTableDoesNotInflateTheTable) {
    Edition e = edition();
    e.rubrics = {rubric("01", u"Один")};
    std::string error;
    ASSERT_EQ(writeEdition(e, image, error), writeOk);
    ASSERT_TRUE(patchU32(image, ydb::rubricCountOffset, 0xFFFFFFFFu));
    const std::u16string path = install(image, "count.ydb");
    db = createDatabase();
    openDatabase(*db, path.c_str());
    buildRubricTable(*db, &tree, hooks);
    EXPECT_EQ(searchState.rubricTable.count, 2u);
    EXPECT_LE(searchState.rubricTable.capacity, 1 + image.tableStart[1] - image.tableStart[0]);
}

TEST_F(RubricTableTest, TheTableGrowsWithTheRecordsReadAndStopsAtTheCount) {
    Edition e = edition();
    for (int i = 0; i < 1500; ++i) {
        char code[8];
        std::snprintf(code, sizeof code, "%04d", i);
        e.rubrics.push_back(rubric(code, u"Р"));
    }
    std::string error;
    ASSERT_EQ(writeEdition(e, image, error), writeOk);
    const std::u16string path = install(image, "many.ydb");
    {
        OpenedDatabase d(path);
        buildRubricTable(*d, &tree, hooks);
        const RubricTable& table = searchState.rubricTable;
        ASSERT_EQ(table.count, 1501u);
        EXPECT_STREQ(table.entries[1500].code, "1499");
        EXPECT_EQ(table.entries[1500].recordRef, image.rubricRefs[1499]);
        EXPECT_EQ(findRubricEntry(table.entries[1500].treeItem), 1500);
    }
    // A count lower than the records: the build stops at the count.
    freeRubricTable();
    ASSERT_TRUE(patchU32(image, ydb::rubricCountOffset, 600));
    const std::u16string fewer = install(image, "fewer.ydb");
    OpenedDatabase d(fewer);
    buildRubricTable(*d, &tree, hooks);
    EXPECT_EQ(searchState.rubricTable.count, 601u);
}

}  // namespace
