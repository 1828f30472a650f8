#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/ydb/source_fixture.h"

namespace {

std::string firstIssue(const SourceFolder& folder) {
    SourceEdition edition;
    IssueList issues;
    folder.read(edition, issues);
    return issues.items.empty() ? std::string() : formatIssue(issues.items.front());
}

TEST(SourceReader, ReadsASoundEditionIntoCodePage1251) {
    SourceFolder folder;
    folder.write("firms.jsonl",
                 SourceFolder::firm("\"name\": \"Ёлка & Ко\", \"house\": 12, \"houseSuffix\": \"2\", \"phone\": \"325-12-12 ф\", "
                                    "\"phones\": [\"325-12-12\", \"(812) 111-22-33\"], \"namePrefix\": \"ООО\"") + "\n");
    SourceEdition edition;
    IssueList issues;
    ASSERT_TRUE(folder.read(edition, issues)) << formatIssue(issues.items.front());
    EXPECT_EQ(edition.title, "\xD1\xEF\xF0\xE0\xE2\xEE\xF7\xED\xE8\xEA\r\n\xD1\xE0\xED\xEA\xF2-\xCF\xE5\xF2\xE5\xF0\xE1\xF3\xF0\xE3");
    EXPECT_EQ(edition.cityLetter, 0xCF);
    ASSERT_EQ(edition.firms.size(), 1u);
    const SourceFirm& f = edition.firms[0];
    EXPECT_EQ(f.name, "\xA8\xEB\xEA\xE0 & \xCA\xEE");
    EXPECT_EQ(f.phones, "325-12-12,(812) 111-22-33");
    EXPECT_EQ(f.rubricCodes, "|1010|");
    EXPECT_EQ(f.house, 12u);
}

// A kiosk or a mobile service has no street: the field left out, null or empty. A street that is
// named must still be one of streets.jsonl, and a house needs a street.
TEST(SourceReader, AFirmMayHaveNoStreet) {
    SourceFolder folder;
    folder.write("firms.jsonl", "{\"name\": \"Киоск\", \"house\": 0}\n{\"name\": \"Б\", \"street\": null}\n"
                                "{\"name\": \"В\", \"street\": \"\"}\n" +
                                    SourceFolder::firm("\"name\": \"Г\"") + "\n");
    SourceEdition edition;
    IssueList issues;
    ASSERT_TRUE(folder.read(edition, issues)) << formatIssue(issues.items.front());
    ASSERT_EQ(edition.firms.size(), 4u);
    EXPECT_FALSE(edition.firms[0].street.has_value());
    EXPECT_FALSE(edition.firms[1].street.has_value());
    EXPECT_FALSE(edition.firms[2].street.has_value());
    EXPECT_EQ(edition.firms[3].street, 0u);
    EXPECT_EQ(issues.items.size(), 0u);

    // A street that cannot be read is reported once, not again as a house without a street.
    folder.write("firms.jsonl", "{\"name\": \"Д\", \"street\": \"\xE2\x98\x83\", \"house\": 1}\n");
    IssueList broken;
    folder.read(edition, broken);
    ASSERT_EQ(broken.items.size(), 1u);
    EXPECT_EQ(formatIssue(broken.items[0]), "firms.jsonl:1: street: character U+2603 cannot be stored in code page 1251");
}

// Each broken source names the file, the line and the field at fault.
TEST(SourceReader, ErrorsNameTheLineAndTheField) {
    struct Case {
        const char* file;
        std::string text;
        const char* expected;
    } cases[] = {
        {"firms.jsonl", SourceFolder::firm("\"name\": \"A\"") + "\n\n" + SourceFolder::firm("\"name\": \"B\", \"phone\": \"1234567890123456\""),
         "firms.jsonl:3: phone: longer than 15 characters (16)"},
        {"firms.jsonl", SourceFolder::firm("\"name\": \"A\", \"web\": \"\xE2\x98\x83\""),
         "firms.jsonl:1: web: character U+2603 cannot be stored in code page 1251"},
        {"firms.jsonl", "{\"name\": \"A\", \"street\": \"Нет такой\"}", "firms.jsonl:1: street: unknown street Нет такой"},
        {"firms.jsonl", "{\"name\": \"A\", \"house\": 7}", "firms.jsonl:1: house: a house number needs a street"},
        {"firms.jsonl", "{\"name\": \"A\", \"street\": \"\", \"houseSuffix\": \"2\"}",
         "firms.jsonl:1: houseSuffix: a house number needs a street"},
        {"firms.jsonl", "{\"name\": \"A\", \"rubrics\": [\"99\"]}",
         "firms.jsonl:1: rubrics: unknown rubric 99"},
        {"firms.jsonl", SourceFolder::firm("\"name\": \"A\", \"hose\": 3"), "firms.jsonl:1: hose: unknown field"},
        {"firms.jsonl", SourceFolder::firm("\"name\": \"A\", \"house\": 10000"),
         "firms.jsonl:1: house: greater than 9999 (10000)"},
        {"firms.jsonl", SourceFolder::firm("\"name\": \"A\", \"phones\": [\"1,2\"]"),
         "firms.jsonl:1: phones: a telephone cannot hold a comma: commas separate them"},
        {"firms.jsonl", SourceFolder::firm("\"name\": \"A\"") + "\n{\"name\": ", "firms.jsonl:2:10: not valid JSON: syntax error while parsing value - unexpected end of input; "
         "expected '[', '{', or a literal"},
        {"streets.jsonl", "{\"key\": \"НЕВ\", \"name\": \"Невский пр.\"}\n{\"key\": \"НЕВА\", \"name\": \"Нева\"}",
         "streets.jsonl:2: key: longer than 3 characters (4)"},
        {"rubrics.json", "[\n{\"code\": \"10\", \"title\": \"А\"},\n{\"code\": \"1010\", \"title\": \"Б\"},\n"
                         "{\"code\": \"11\", \"title\": \"В\"},\n{\"code\": \"1011\", \"title\": \"Г\"}\n]",
         "rubrics.json:5: code: not in pre-order: its parent 10 is followed by another branch before it"},
        {"rubrics.json", "[{\"code\": \"10\", \"title\": \"А\"},\n {\"code\": \"120101\", \"title\": \"Б\"}]",
         "rubrics.json:2: code: its parent rubric 1201 does not come before it"},
        {"rubrics.json", "[{\"code\": \"10\", \"title\": \"А\"},\n {\"code\": \"101\", \"title\": \"Б\"}]",
         "rubrics.json:2: code: a rubric code has 2, 4, 6 or 8 characters"},
        {"edition.json", "{\"cityLetter\": \"П\",\n \"title\": \"" + std::string(81, 'x') + "\"}",
         "edition.json:2: title: longer than 80 characters (81)"},
        {"edition.json", "{\"cityLetter\": \"П\",\n \"title\": \"Справочник\\n\"}",
         "edition.json:2: title: its last line is empty, so the handheld would not offer the edition"},
        {"edition.json", "{\"title\": \"Т\",\n \"cityLetter\": \"\xE2\x82\xB4\"}",
         "edition.json:2: cityLetter: character U+20B4 cannot be stored in code page 1251"},
        {"edition.json", "{\"title\": \"Т\",\n\n \"cityLetter\": \"М\" \"x\"}",
         "edition.json:3:22: not valid JSON: syntax error while parsing object - unexpected string literal; expected '}'"},
        // A title too long on its one line is only too long.
        {"edition.json", "{\"cityLetter\": \"П\",\n \"title\": \"" + std::string(90, 'x') + "\"}",
         "edition.json:2: title: longer than 80 characters (90)"},
    };
    for (const Case& c : cases) {
        SourceFolder folder;
        folder.write(c.file, c.text);
        EXPECT_EQ(firstIssue(folder), c.expected) << c.file << ": " << c.text;
    }
}

TEST(SourceReader, AFirmWithErrorsIsLeftOutAndTheRestIsStillChecked) {
    SourceFolder folder;
    folder.write("firms.jsonl", SourceFolder::firm("\"name\": \"\"") + "\n" + SourceFolder::firm("\"name\": \"B\", \"email\": 5"));
    SourceEdition edition;
    IssueList issues;
    EXPECT_FALSE(folder.read(edition, issues));
    ASSERT_EQ(issues.items.size(), 2u);
    EXPECT_EQ(formatIssue(issues.items[0]), "firms.jsonl:1: name: empty");
    EXPECT_EQ(formatIssue(issues.items[1]), "firms.jsonl:2: email: expected a text");
    EXPECT_TRUE(edition.firms.empty());
}

TEST(SourceReader, ResourcesArePicturesAndHelpInChunkOrder) {
    SourceFolder folder;
    folder.write("edition.json", R"({"title": "Т", "cityLetter": "М", "resources": [{"help": "help.html"}, {"picture": "p.bmp"}]})");
    folder.write("help.html", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">Справка");
    folder.write("p.bmp", "BM not really a picture at all, but long enough to pass the first size test of 54 bytes");
    SourceEdition edition;
    IssueList issues;
    EXPECT_FALSE(folder.read(edition, issues));
    ASSERT_EQ(issues.items.size(), 1u);
    EXPECT_EQ(formatIssue(issues.items[0]), "p.bmp: bitmap header and pixel offset do not agree");
    ASSERT_EQ(edition.resources.size(), 1u);
    EXPECT_EQ(edition.resources[0].kind, ResourceKind::help);
    EXPECT_EQ(edition.cityLetter, 0xCC);
}

TEST(SourceReader, PagesMustDeclareTheirCodePage) {
    SourceFolder folder;
    folder.write("html/bridges.html", "<html><head><meta charset=\"utf-8\"></head>Мосты</html>");
    folder.write("html/pdd.htm", "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Windows-1251\">Штрафы");
    folder.write("html/resc.htm", std::string("<meta charset=windows-1251>\n\n112\0", 33));
    SourceEdition edition;
    IssueList issues;
    EXPECT_FALSE(folder.read(edition, issues));
    ASSERT_EQ(issues.items.size(), 2u);
    EXPECT_EQ(formatIssue(issues.items[0]), "html/bridges.html: the page must declare charset=windows-1251 in its meta tag");
    EXPECT_EQ(formatIssue(issues.items[1]), "html/resc.htm:3: holds a 0 byte");
    ASSERT_EQ(edition.pages.size(), 1u);
    EXPECT_EQ(edition.pages[0].name, "pdd.htm");
}

TEST(SourceReader, AStreetWithMoreFirmsThanItsListCanCountIsRefused) {
    SourceFolder folder;
    std::string firms;
    for (int i = 0; i < 16384; ++i) firms += "{\"name\": \"F\", \"street\": \"Невский пр.\"}\n";
    folder.write("firms.jsonl", firms);
    EXPECT_EQ(firstIssue(folder),
              "streets.jsonl:1: name: more than 16383 firms in this street: its firm list would not fit a 16-bit count");
}

// A file that is missing or cannot be parsed is one error, not one on every firm that refers to it.
TEST(SourceReader, ABrokenFileIsReportedOnceNotOnEveryFirm) {
    const struct {
        const char* file;
        const char* text;  // none: the file is removed
        const char* expected;
        size_t unreadable;
    } cases[] = {
        {"rubrics.json", "[{\"code\": \"10\"", "rubrics.json:1:15: not valid JSON", 0},
        {"rubrics.json", nullptr, "rubrics.json: missing: every source edition has one", 1},
        {"streets.jsonl", nullptr, "streets.jsonl: missing: every source edition has one", 1},
    };
    for (const auto& c : cases) {
        SourceFolder folder;
        folder.write("firms.jsonl", SourceFolder::firm("\"name\": \"A\"") + "\n" + SourceFolder::firm("\"name\": \"B\"") + "\n");
        if (c.text) folder.write(c.file, c.text);
        else std::filesystem::remove(folder.root / c.file);
        SourceEdition edition;
        IssueList issues;
        EXPECT_FALSE(folder.read(edition, issues));
        ASSERT_EQ(issues.items.size(), 1u) << c.file << ": " << formatIssue(issues.items.back());
        EXPECT_EQ(formatIssue(issues.items[0]).rfind(c.expected, 0), 0u) << formatIssue(issues.items[0]);
        EXPECT_EQ(issues.unreadable, c.unreadable) << c.file;
    }
}

// Notes the card would never show are built, with a warning at their line.
TEST(SourceReader, NotesTheCardCannotShowAreWarnedAbout) {
    SourceFolder folder;
    folder.write("firms.jsonl",
                 SourceFolder::firm("\"name\": \"A\", \"comment\": \"Вход со двора. |10| Ремонт |$Запись|\"") + "\n" +
                     SourceFolder::firm("\"name\": \"B\", \"comment\": \"|20| Окна |$Замер|\"") + "\n" +
                     SourceFolder::firm("\"name\": \"C\", \"comment\": \"|10| без заметки\"") + "\n");
    SourceEdition edition;
    IssueList issues;
    EXPECT_TRUE(folder.read(edition, issues));
    EXPECT_EQ(edition.firms.size(), 3u);
    ASSERT_EQ(issues.warnings.size(), 2u);
    EXPECT_EQ(formatIssue(issues.warnings[0]), "firms.jsonl:2: comment: warning: notes under |20|, but no rubric of the "
                                               "firm has a code beginning 20: the card never shows them");
    EXPECT_EQ(formatIssue(issues.warnings[1]),
              "firms.jsonl:3: comment: warning: |10| has no |$ after it: write the note as |10| text |$note|");
}

} // namespace
