// The mistakes a publisher makes in a source edition, each named once at its place: a key given
// twice, a mistyped rubric code, telephones the index cannot hold.
#include <gtest/gtest.h>

#include "tests/ydb/source_fixture.h"

namespace {

std::vector<std::string> lines(const std::vector<SourceIssue>& issues) {
    std::vector<std::string> out;
    for (const SourceIssue& i : issues) out.push_back(formatIssue(i));
    return out;
}

struct Read {
    bool sound = false;
    std::vector<std::string> errors, warnings;
};

Read read(const SourceFolder& folder) {
    SourceEdition edition;
    IssueList issues;
    Read r;
    r.sound = folder.read(edition, issues);
    r.errors = lines(issues.items);
    r.warnings = lines(issues.warnings);
    return r;
}

// The parser would keep the last value without a word: in a firm line, in a rubric of a list, in
// edition.json and inside a resource.
TEST(DuplicateKeys, AreErrorsNamingBothPlaces) {
    SourceFolder folder;
    folder.write("firms.jsonl", SourceFolder::firm("\"name\": \"Альфа\", \"phone\": \"111-11-11\", \"phone\": \"222-22-22\"") + "\n");
    folder.write("rubrics.json", "[\n {\"code\": \"10\", \"title\": \"Авто\", \"flags\": 2},\n"
                                 " {\"code\": \"1010\",\n  \"title\": \"Автосервисы\",\n  \"title\": \"Мойки\"}\n]\n");
    folder.write("edition.json", "{\"title\": \"Справочник\",\n \"cityLetter\": \"П\",\n \"resources\": [{\"help\": \"a\", \"help\": \"b\"}],\n"
                                 " \"cityLetter\": \"М\"}");
    Read r = read(folder);
    EXPECT_FALSE(r.sound);
    EXPECT_EQ(r.errors, (std::vector<std::string>{
                            "edition.json:3:30: help: given twice in one object (first at column 17); only the last would be kept",
                            "edition.json:4:2: cityLetter: given twice in one object (first at line 2, column 2); only the last would be kept",
                            "edition.json:3: resources[0]: b cannot be read",
                            "rubrics.json:5:3: title: given twice in one object (first at line 4, column 3); only the last would be kept",
                            "firms.jsonl:1:87: phone: given twice in one object (first at column 65); only the last would be kept",
                        }));
}

TEST(DuplicateKeys, TheSameNameInDifferentObjectsOrEscapedIsTold) {
    SourceFolder folder;
    // Keys of nested objects are their own; an escaped key is the key it spells.
    folder.write("edition.json", R"({"title": "T", "cityLetter": "П", "resources": [{"help": "x"}, {"help": "y"}], "city\u004cetter": "П"})");
    Read r = read(folder);
    ASSERT_FALSE(r.errors.empty());
    EXPECT_EQ(r.errors[0].rfind("edition.json:1:", 0), 0u) << r.errors[0];
    EXPECT_NE(r.errors[0].find("cityLetter: given twice in one object (first at column 16)"), std::string::npos) << r.errors[0];
}

// 2010 typed as 3010: its rubric is refused, and the firms filed under 2010 say so; the rubric after
// it and the firms of that rubric are sound.
TEST(RubricTypo, GivesOnlyTheErrorsThatNameIt) {
    SourceFolder folder;
    folder.write("rubrics.json", "[\n {\"code\": \"10\", \"title\": \"Авто\", \"flags\": 2},\n"
                                 " {\"code\": \"1010\", \"title\": \"Автосервисы\"},\n"
                                 " {\"code\": \"20\", \"title\": \"Дом\", \"flags\": 2},\n"
                                 " {\"code\": \"3010\", \"title\": \"Окна\"},\n"
                                 " {\"code\": \"301010\", \"title\": \"Пластиковые окна\"},\n"
                                 " {\"code\": \"2020\", \"title\": \"Двери\"}\n]\n");
    folder.write("firms.jsonl", "{\"name\": \"А\", \"rubrics\": [\"2010\"]}\n"
                                "{\"name\": \"Б\", \"rubrics\": [\"2020\", \"1010\"]}\n"
                                "{\"name\": \"В\", \"rubrics\": [\"2020\"]}\n"
                                "{\"name\": \"Г\", \"rubrics\": [\"2010\", \"2020\"]}\n"
                                "{\"name\": \"Д\", \"rubrics\": [\"301010\"]}\n");
    Read r = read(folder);
    EXPECT_EQ(r.errors, (std::vector<std::string>{
                            "rubrics.json:5: code: its parent rubric 30 does not come before it",
                            "rubrics.json:6: code: its parent rubric 3010 is refused at line 5 above",
                            "firms.jsonl:1: rubrics: unknown rubric 2010",
                            "firms.jsonl:4: rubrics: unknown rubric 2010",
                            "firms.jsonl:5: rubrics: rubric 301010 is refused at rubrics.json:6",
                        }));
}

TEST(Telephones, ThatTheIndexCannotHoldAreWarnedAboutOnce) {
    SourceFolder folder;
    folder.write("firms.jsonl",
                 SourceFolder::firm("\"name\": \"А\", \"phone\": \"32О-12-12\", \"phones\": [\"32О-12-12\", \"З25-11-11\"]") + "\n" +
                     SourceFolder::firm("\"name\": \"Б\", \"phone\": \"нет\", \"phones\": [\"12\", \"325-12-12 доб. 45\", \"325-12-12 ф\"]") +
                     "\n" + SourceFolder::firm("\"name\": \"В\", \"phones\": [\"т.325-12-12\", \"(812) 12345678901\"]") + "\n");
    Read r = read(folder);
    EXPECT_TRUE(r.sound) << (r.errors.empty() ? "" : r.errors[0]);
    const std::string letter = "comes before its digits end (a Cyrillic О or З typed for 0 or 3?) and the number ends there: ";
    EXPECT_EQ(r.warnings, (std::vector<std::string>{
                              "firms.jsonl:1: phone: warning: \"32О-12-12\": the letter О " + letter +
                                  "the index holds nothing for it, so the firm is not found by it",
                              "firms.jsonl:1: phones: warning: \"З25-11-11\": the letter З " + letter +
                                  "the index holds nothing for it, so the firm is not found by it",
                              "firms.jsonl:2: phone: warning: \"нет\": no digits: the index holds nothing for it, so "
                              "the firm is not found by it",
                              "firms.jsonl:2: phones: warning: \"12\": fewer than 3 digits: the index holds nothing for "
                              "it, so the firm is not found by it",
                              "firms.jsonl:3: phones: warning: \"т.325-12-12\": the letter т " + letter +
                                  "the index holds nothing for it, so the firm is not found by it",
                              "firms.jsonl:3: phones: warning: \"(812) 12345678901\": neither the number nor its local "
                              "part has 3 to 9 digits: the index holds nothing for it, so the firm is not found by it",
                          }));
}

TEST(Telephones, ALetterAfterSomeDigitsSaysWhatTheIndexKeeps) {
    SourceFolder folder;
    folder.write("firms.jsonl", SourceFolder::firm("\"name\": \"А\", \"phone\": \"325-1О-12\"") + "\n");
    Read r = read(folder);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("the number ends there: the index holds only 3251"), std::string::npos) << r.warnings[0];
}

} // namespace
