#include <gtest/gtest.h>

#include "search/messages.h"
#include "search/prefix_range.h"
#include "search/rubric_table.h"
#include "search/search_run.h"
#include "search/search_state.h"
#include "tests/search/search_fixture.h"

namespace {

using u16s = std::vector<std::u16string>;

class SearchRunTest : public SearchTest {
protected:
    // Runs the search with the given fields; the answers are the questions' buttons in order.
    int32_t search(int32_t mode, std::u16string name, std::u16string street = u"", std::u16string phone = u"",
                   std::deque<int> answers = {}) {
        results = RecordingList{};
        hooks = ScriptedHooks{};
        hooks.answers = std::move(answers);
        SearchRequest request{mode, name.c_str(), street.c_str(), phone.c_str()};
        return runSearch(*db, request, results, hooks);
    }
    // A thousand firm lines, then the line that says there are more, and no question.
    void expectOverflowLine() {
        ASSERT_EQ(results.lines.size(), 1001u);
        EXPECT_EQ(results.lines[1000].text, text::resultOverflowLine);
        EXPECT_EQ(results.lines[1000].value, noItemValue);
        EXPECT_TRUE(hooks.shown.empty());
    }
    RecordingList results;
    ScriptedHooks hooks;
};

// `count` firms named by the alphabet in turn, each with the note "Ремонт обуви".
Edition shoeRepairs(int count) {
    Edition e;
    e.title = "T";
    for (int i = 0; i < count; ++i) {
        EditionFirm f = firmNamed(u"ФИРМА " + std::u16string(1, u'А' + i % 32));
        f.comment = cp1251(u"Ремонт обуви");
        e.firms.push_back(f);
    }
    return e;
}

// Streets 0 ЛЕНИНА and 1 САДОВАЯ; rubrics 01 (heading) > 0101, 0102; 02.
Edition cityEdition() {
    Edition e;
    e.title = "T";
    e.streets = {{cp1251(u"ЛЕН"), cp1251(u"ЛЕНИНА"), {}}, {cp1251(u"САД"), cp1251(u"САДОВАЯ"), {}}};
    auto add = [&](std::u16string_view name, uint32_t street, uint32_t house, const char* codes,
                   std::u16string_view comment = u"") {
        EditionFirm f = firmNamed(name, street, house);
        f.rubricCodes = codes;
        f.comment = cp1251(comment);
        if (street != noStreet) e.streets[street].firms.push_back(static_cast<uint32_t>(e.firms.size()));
        e.firms.push_back(f);
    };
    add(u"Кафе «Ромашка»", 0, 12, "|0101|", u"Ремонт обуви и часов");
    add(u"Кафе Лето", 1, 3, "|0102|");
    add(u"Ресторан «Кафе-бар»", 0, 0, "|02|");
    add(u"АПТЕКА", noStreet, 0, "|0101|", u"мастерская ремонтобуви");
    add(u"ЯЩИК", 1, 7, "", u"Ящики на заказ");
    e.firms[4].web = "www.box.ru";
    e.firms[4].email = "yashik@mail.ru";
    e.rubrics = {{"01", "Head", 3, false, {}}, {"0101", "A", 3, true, {0, 3}}, {"0102", "B", 3, true, {1}},
                 {"02", "C", 3, true, {2}}};
    e.phones = {{3123456, 0}, {1234, 1}, {55, 4}};
    return e;
}

TEST_F(SearchRunTest, ThePrefixRangeOfACompactedKey) {
    DirectoryDatabase& d = open(cityEdition());
    // КАФЕРОМАШКА: the range of КАФЕР holds Кафе «Ромашка» alone.
    ASSERT_TRUE(findPrefixRange(d, cp1251(u"КАФЕРОМАШКА").c_str(), 11));
    EXPECT_EQ(searchState.rangeStart, image.firmRefs[0]);
    EXPECT_EQ(searchState.rangeEnd, image.firmRefs[2]);
    // A shorter key covers the run of entries that begin with it.
    ASSERT_TRUE(findPrefixRange(d, cp1251(u"КАФЕ").c_str(), 4));
    EXPECT_EQ(searchState.rangeStart, image.firmRefs[1]);  // КАФЕЛ sorts before КАФЕР
    EXPECT_EQ(searchState.rangeEnd, image.firmRefs[2]);
    // The last entry runs to the end of the firm table.
    ASSERT_TRUE(findPrefixRange(d, cp1251(u"ЯЩИК").c_str(), 4));
    EXPECT_EQ(searchState.rangeEnd, tableLength(d, tableFirms));
    EXPECT_FALSE(findPrefixRange(d, cp1251(u"КАФЕЯ").c_str(), 5));
    EXPECT_EQ(searchState.rangeStart, 0xFFFFFFFFu);
    EXPECT_EQ(searchState.rangeEnd, 0xFFFFFFFFu);
}

TEST_F(SearchRunTest, NameBeginsListsTheRangeAndOneMatchIsSelected) {
    open(cityEdition());
    // The guillemets and the space drop out of the key (the right guillemet stays, as in the
    // stored name's key), so both spellings find the firm.
    EXPECT_EQ(search(modeNameBegins, u"КАФЕ РОМАШКА"), 1);
    EXPECT_EQ(search(modeNameBegins, u"Кафе «Ромашка»"), 1);
    EXPECT_EQ(results.texts(), (u16s{u"Кафе «Ромашка», ЛЕНИНА, 12"}));
    EXPECT_EQ(results.lines[0].value, image.firmRefs[0]);
    EXPECT_EQ(results.selected, 0);
    EXPECT_TRUE(hooks.shown.empty());
    EXPECT_EQ(search(modeNameBegins, u"кафе"), 2);
    EXPECT_EQ(results.texts(), (u16s{u"Кафе Лето, САДОВАЯ, 3", u"Кафе «Ромашка», ЛЕНИНА, 12"}));
    EXPECT_EQ(results.selected, -1);
    // A firm of the last index entry.
    EXPECT_EQ(search(modeNameBegins, u"ящ"), 1);
}

TEST_F(SearchRunTest, APrefixNotInTheIndexLeadsThroughBothQuestions) {
    open(cityEdition());
    // Yes to the fragment question: the key anywhere in every name.
    EXPECT_EQ(search(modeNameBegins, u"бар", u"", u"", {IDYES}), 1);
    EXPECT_EQ(hooks.captions(), (u16s{text::captionHope}));
    EXPECT_EQ(results.lines[0].value, image.firmRefs[2]);
    EXPECT_EQ(results.texts(), (u16s{u"Ресторан «Кафе-бар», ЛЕНИНА"}));

    // No, then No to the notes.
    EXPECT_EQ(search(modeNameBegins, u"обуви", u"", u"", {IDNO, IDNO}), 0);
    EXPECT_EQ(hooks.captions(), (u16s{text::captionHope, text::captionLastChance}));
    EXPECT_TRUE(results.lines.empty());

    // No, then Yes to the notes: notes hold the compacted key only where the letters stand together.
    EXPECT_EQ(search(modeNameBegins, u"ремонт обуви", u"", u"", {IDNO, IDYES}), 1);
    EXPECT_EQ(results.lines[0].value, image.firmRefs[3]);
    EXPECT_EQ(results.texts(), (u16s{u"АПТЕКА"}));

    // Yes to the fragment, nothing there either, Yes to the notes, nothing: the regret message.
    EXPECT_EQ(search(modeNameBegins, u"жжжжж", u"", u"", {IDYES, IDYES}), 0);
    EXPECT_EQ(hooks.captions(), (u16s{text::captionHope, text::captionLastChance, text::captionRegret}));
    EXPECT_EQ(hooks.shown[2].text, text::nothingFound);
}

TEST_F(SearchRunTest, ABeginningInTheIndexThatNoFirmOfItsRangeHasStillAsksForAFragment) {
    DirectoryDatabase& d = open(cityEdition());
    // Longer than every name of its range: the index knows КАФЕР, no name goes on like this.
    const std::u16string key = u"Кафе Ромашка и бар";
    ASSERT_TRUE(findPrefixRange(d, cp1251(u"КАФЕРОМАШКАИБАР").c_str(), 15));
    EXPECT_EQ(search(modeNameBegins, key, u"", u"", {IDNO, IDNO}), 0);
    EXPECT_EQ(hooks.captions(), (u16s{text::captionHope, text::captionLastChance}));
    EXPECT_TRUE(results.lines.empty());
    // A street that no firm of the range is on asks too.
    EXPECT_EQ(search(modeNameBegins, u"кафе лето", u"ленина", u"", {IDNO, IDNO}), 0);
    EXPECT_EQ(hooks.captions(), (u16s{text::captionHope, text::captionLastChance}));
}

TEST_F(SearchRunTest, TheNoteSearchKeepsAThousandFirmsAndReadsEightThousandCharacters) {
    Edition e = shoeRepairs(1100);
    // The key ends at character 8000, and one character later.
    EditionFirm inside = firmNamed(u"ВНУТРИ");
    inside.comment = std::string(7992, '.') + cp1251(u"ЧАСОВЩИК");
    EditionFirm beyond = firmNamed(u"СНАРУЖИ");
    beyond.comment = std::string(7993, '.') + cp1251(u"ЧАСОВЩИК");
    e.firms.push_back(inside);
    e.firms.push_back(beyond);
    open(e);

    EXPECT_EQ(search(modeNoteContains, u"обуви"), 1000);
    expectOverflowLine();

    EXPECT_EQ(search(modeNoteContains, u"часовщик"), 1);
    EXPECT_EQ(results.texts(), (u16s{u"ВНУТРИ"}));
}

TEST_F(SearchRunTest, ContainsAndAddressModesAskOnlyAboutTheNotes) {
    open(cityEdition());
    EXPECT_EQ(search(modeNameContains, u"ЖЖЖ"), 0);
    EXPECT_EQ(hooks.captions(), (u16s{text::captionLastChance}));
    EXPECT_EQ(search(modeNameContains, u"КАФЕ"), 3);
    EXPECT_EQ(search(modeAddressContains, u"ru|yash"), 1);  // web "|" e-mail, upper-cased
    EXPECT_EQ(results.lines[0].value, image.firmRefs[4]);
    EXPECT_EQ(search(modeNoteContains, u"ящики на"), 0);  // the space is not in the compacted key
    EXPECT_EQ(hooks.captions(), (u16s{text::captionRegret}));
    EXPECT_EQ(search(modeNoteContains, u"ЯЩИКИ"), 1);
}

TEST_F(SearchRunTest, StreetFiltersANameSearchAndAFirmWithoutStreetNeverPasses) {
    open(cityEdition());
    EXPECT_EQ(search(modeNameContains, u"А", u"ЛЕН"), 2);
    EXPECT_EQ(results.texts(), (u16s{u"Кафе «Ромашка», ЛЕНИНА, 12", u"Ресторан «Кафе-бар», ЛЕНИНА"}));
    // The street text is compared as typed: the box gives upper case.
    EXPECT_EQ(search(modeNameContains, u"АПТЕКА", u"", u""), 1);
    EXPECT_EQ(search(modeNameContains, u"АПТЕКА", u"Л", u""), 0);
}

TEST_F(SearchRunTest, AThemeOfAHeadingMatchesTheRubricsBelowIt) {
    DirectoryDatabase& d = open(cityEdition());
    RecordingTree tree;
    buildRubricTable(d, &tree, hooks);
    selectTheme(1);  // 01, a heading
    EXPECT_EQ(search(modeNameContains, u"А"), 3);
    EXPECT_EQ(results.texts(), (u16s{u"АПТЕКА", u"Кафе Лето, САДОВАЯ, 3", u"Кафе «Ромашка», ЛЕНИНА, 12"}));
    // Street alone with a theme: the firms of the matching streets listed in it.
    EXPECT_EQ(search(modeNameBegins, u"", u"САД"), 1);
    EXPECT_EQ(results.lines[0].value, image.firmRefs[1]);
    // Theme alone asks for conditions.
    EXPECT_EQ(search(modeNameBegins, u""), searchNeedsConditions);
    EXPECT_EQ(hooks.captions(), (u16s{text::captionConditions}));
    selectTheme(99);  // not an entry: no theme
    EXPECT_EQ(search(modeNameBegins, u"", u"САД"), 2);
    EXPECT_EQ(search(modeNameBegins, u"", u"ЖЖЖ"), 0);
    EXPECT_EQ(hooks.captions(), (u16s{text::captionRegret}));
}

TEST_F(SearchRunTest, TelephoneSearchReadsTheNumberAsAnIntegerAndYieldsToAName) {
    open(cityEdition());
    EXPECT_EQ(search(modeNameBegins, u"", u"", u"0001234"), 1);
    EXPECT_EQ(results.texts(), (u16s{u"Кафе Лето, САДОВАЯ, 3"}));
    EXPECT_EQ(search(modeNameBegins, u"", u"", u"55"), 1);
    EXPECT_EQ(results.lines[0].value, image.firmRefs[4]);
    EXPECT_EQ(search(modeNameBegins, u"", u"", u"3123457"), 0);
    EXPECT_EQ(hooks.captions(), (u16s{text::captionRegret}));
    // With a name the telephone is ignored.
    EXPECT_EQ(search(modeNameBegins, u"АПТЕКА", u"", u"55"), 1);
    EXPECT_EQ(results.lines[0].value, image.firmRefs[3]);
}

// The telephone search's line shows any house number, but only behind a street: a kiosk found by
// its number is its name alone, even when the file gives it a house.
TEST_F(SearchRunTest, AFirmWithoutAStreetFoundByTelephoneIsItsNameAlone) {
    Edition e = cityEdition();
    e.firms[3].house = 5;
    e.firms[3].houseSuffix = "2";
    e.phones.push_back({777, 3});
    open(e);
    EXPECT_EQ(search(modeNameBegins, u"", u"", u"777"), 1);
    EXPECT_EQ(results.texts(), (u16s{u"АПТЕКА"}));
    EXPECT_EQ(results.lines[0].value, image.firmRefs[3]);
}

TEST_F(SearchRunTest, AThousandMatchesEndWithTheOverflowLineAndNoQuestion) {
    Edition e;
    e.title = "T";
    for (int i = 0; i < 1200; ++i) e.firms.push_back(firmNamed(u"ФИРМА " + std::u16string(1, u'А' + i % 32)));
    open(e);
    EXPECT_EQ(search(modeNameContains, u"ФИРМА"), 1000);
    expectOverflowLine();
    // The same through the fragment question.
    EXPECT_EQ(search(modeNameBegins, u"ИРМА", u"", u"", {IDYES}), 1000);
    EXPECT_EQ(results.lines.size(), 1001u);
    EXPECT_EQ(hooks.captions(), (u16s{text::captionHope}));
}

TEST_F(SearchRunTest, ALongNameIsCutBeforeItsStreet) {
    Edition e;
    e.title = "T";
    e.streets = {{"L", cp1251(u"ЛЕНИНА"), {}}};
    e.firms = {firmNamed(u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭ", 0, 12, u"А"), firmNamed(u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ")};
    open(e);
    EXPECT_EQ(search(modeNameBegins, u"АБВГД"), 2);
    EXPECT_EQ(results.texts(), (u16s{u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫ.., ЛЕНИНА, 12/А", u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"}));
}

TEST_F(SearchRunTest, AFullResultListEndsTheScanWithItsMessage) {
    open(cityEdition());
    results = RecordingList{};
    results.capacity = 1;
    hooks = ScriptedHooks{};
    const std::u16string name = u"КАФЕ";
    SearchRequest request{modeNameContains, name.c_str(), u"", u""};
    EXPECT_EQ(runSearch(*db, request, results, hooks), 1);
    EXPECT_EQ(hooks.captions(), (u16s{text::captionSearch}));
}

}  // namespace

// A firm whose hours, rubric list or note is over the length the handheld reads shows its
// message, and the note search goes on past it to the notes after it.
TEST_F(SearchRunTest, TheNoteSearchGoesOnPastTextsOverTheirLimits) {
    Edition e = shoeRepairs(60);
    for (int i = 0; i < 60; ++i) {
        EditionFirm& f = e.firms[i];
        if (i % 10 == 3) f.hours = std::string(512 + 97 * i, 'h');
        if (i % 10 == 5) f.rubricCodes = "|" + std::string(4100, '1') + "|";
        if (i == 57) f.comment += std::string(33000, '.');
    }
    open(e);
    EXPECT_EQ(search(modeNoteContains, u"обуви"), 59);
    // One box a text over its limit.
    EXPECT_EQ(boxes.size(), 13u);
}
