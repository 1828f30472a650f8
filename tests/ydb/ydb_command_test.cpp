// The ydb program as a publisher runs it: exit codes, what it prints, and that a failed build
// leaves nothing behind.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "tests/ydb/built_edition.h"
#include "db/database.h"
#include "tools/writer/image_patch.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;       // standard output and standard error together
    std::string printed;   // standard output alone
    std::string errors;    // standard error alone

    std::string firstErrorLine() const { return errors.substr(0, errors.find('\n')); }
};

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Outcome ydb(const std::string& arguments, const fs::path& folder) {
    fs::path log = folder / "ydb.log";
    fs::path errorLog = folder / "ydb.errors";
    std::string command = std::string(YDB_PROGRAM) + " " + arguments + " >'" + log.string() + "' 2>'" +
                          errorLog.string() + "' </dev/null";
    int raw = std::system(command.c_str());
    Outcome r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.printed = contents(log);
    r.errors = contents(errorLog);
    r.out = r.printed + r.errors;
    return r;
}

std::string shellWord(const fs::path& p) { return "'" + p.string() + "'"; }

class YdbCommand : public ::testing::Test {
protected:
    fs::path root() const { return built.source.root; }
    fs::path output() const { return root() / "out" / "city.ydb"; }
    Outcome build() {
        fs::create_directories(root() / "out");
        return ydb("build " + shellWord(root()) + " -o " + shellWord(output()), root());
    }
    BuiltEdition built;
};

TEST_F(YdbCommand, ASoundSourceBuildsChecksAndDumps) {
    built.source.write("html/bridges.html",
                       "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">Мосты");
    Outcome b = build();
    ASSERT_EQ(b.status, 0) << b.out;
    EXPECT_NE(b.out.find("6 rubrics, 3 streets, 4 firms, 4 telephone entries"), std::string::npos) << b.out;
    // The information pages go beside the database, converted to code page 1251.
    std::ifstream page(root() / "out" / "HTML" / "bridges.html", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(page)), std::istreambuf_iterator<char>());
    EXPECT_NE(bytes.find("\xCC\xEE\xF1\xF2\xFB"), std::string::npos);

    Outcome c = ydb("check " + shellWord(output()), root());
    EXPECT_EQ(c.status, 0) << c.out;
    // The sample carries no pictures: warned about, but sound.
    EXPECT_EQ(c.out.substr(c.out.rfind("sound:")), "sound: 6 rubrics, 4 firms, 3 streets, 4 telephone entries\n");
    // The sample's notes are filed under one of the firm's rubrics: no warning.
    EXPECT_EQ(b.errors.find("comment:"), std::string::npos) << b.errors;

    Outcome d = ydb("dump " + shellWord(output()) + " firms", root());
    EXPECT_EQ(d.status, 0) << d.out;
    EXPECT_EQ(std::count(d.out.begin(), d.out.end(), '\n'), 4);
    EXPECT_EQ(d.out.rfind("{\"ref\":0,\"name\":\"Альфа\",\"streetRef\":", 0), 0u) << d.out;
    EXPECT_EQ(ydb("dump " + shellWord(output()) + " 6", root()).out.substr(0, 30), "{\"ref\":0,\"number\":112,\"firmRef");

    Outcome i = ydb("info " + shellWord(output()), root());
    EXPECT_EQ(i.status, 0);
    EXPECT_NE(i.out.find("title:\n  Справочник\n  Санкт-Петербург\n"), std::string::npos) << i.out;
    EXPECT_NE(i.out.find("help text 0"), std::string::npos) << i.out;
    EXPECT_NE(i.out.find("counts: 6 rubrics, 3 prefixes, 4 firms, 3 streets"), std::string::npos) << i.out;
}

TEST_F(YdbCommand, ASourceWithErrorsWritesNothing) {
    built.source.write("firms.jsonl", "{\"name\": \"A\", \"street\": \"Невский пр.\"}\n"
                                      "{\"name\": \"B\", \"street\": \"Нигде\", \"house\": -1}\n");
    Outcome b = build();
    EXPECT_EQ(b.status, 1);
    EXPECT_NE(b.out.find("firms.jsonl:2: street: unknown street Нигде\n"), std::string::npos) << b.out;
    EXPECT_NE(b.out.find("firms.jsonl:2: house: expected a whole number from 0 to 9999\n"), std::string::npos) << b.out;
    EXPECT_NE(b.out.find("2 error(s); nothing written"), std::string::npos) << b.out;
    EXPECT_TRUE(fs::is_empty(root() / "out"));
}

TEST_F(YdbCommand, AFailedBuildKeepsTheEditionThatWasThere) {
    ASSERT_EQ(build().status, 0);
    auto size = fs::file_size(output());
    built.source.write("rubrics.json", "[{\"code\": \"1\", \"title\": \"A\"}]");
    EXPECT_EQ(build().status, 1);
    EXPECT_EQ(fs::file_size(output()), size);
    EXPECT_FALSE(fs::exists(output().string() + ".part"));
}

TEST_F(YdbCommand, CheckExitsOneForADamagedFileAndTwoForUsage) {
    std::string error;
    ASSERT_TRUE(built.build(error)) << error;
    uint32_t last = built.image.firmRefs[3];
    uint32_t at = absoluteOffset(built.image, tableFirms, last);
    patchU16(built.image, at, static_cast<uint16_t>(ydb::loadU16(built.image.bytes.data() + at) + 100));
    ASSERT_TRUE(built.save());
    Outcome c = ydb("check " + shellWord(built.path), root());
    EXPECT_EQ(c.status, 1) << c.out;
    EXPECT_NE(c.out.find("firms (table 3) at " + std::to_string(last) + ": the record cannot be read (reader code -107)"),
              std::string::npos) << c.out;
    EXPECT_NE(c.out.find("damaged: "), std::string::npos);

    truncateImage(built.image, 200);  // not even a header: refused at open
    ASSERT_TRUE(built.save());
    EXPECT_EQ(ydb("check " + shellWord(built.path), root()).status, 1);

    EXPECT_EQ(ydb("check " + shellWord(root() / "missing.ydb"), root()).status, 2);
    EXPECT_EQ(ydb("check", root()).status, 2);
    EXPECT_EQ(ydb("dump " + shellWord(built.path) + " 8", root()).status, 2);
    EXPECT_EQ(ydb("frobnicate", root()).status, 2);
    EXPECT_EQ(ydb("build " + shellWord(root() / "nowhere") + " -o x.ydb", root()).status, 2);
}

TEST_F(YdbCommand, SynthWritesASourceThatBuilds) {
    fs::path synth = root() / "synth";
    ASSERT_EQ(ydb("synth --firms 300 -o " + shellWord(synth), root()).status, 0);
    Outcome b = ydb("build " + shellWord(synth) + " -o " + shellWord(root() / "synth.ydb") + " --quiet", root());
    EXPECT_EQ(b.status, 0) << b.out;
    EXPECT_EQ(b.out, "");
    EXPECT_EQ(ydb("check " + shellWord(root() / "synth.ydb"), root()).status, 0);
    EXPECT_EQ(ydb("synth --firms -5 -o " + shellWord(synth), root()).status, 2);
}

TEST_F(YdbCommand, SynthNeverWritesIntoAFolderItDidNotMake) {
    const std::string handWritten = contents(root() / "firms.jsonl");
    Outcome refused = ydb("synth --firms 10 -o " + shellWord(root()), root());
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.firstErrorLine(), "ydb synth: " + root().string() +
                                            " is not empty; name a new folder, or add --force to write over its edition files");
    EXPECT_EQ(contents(root() / "firms.jsonl"), handWritten);

    EXPECT_EQ(ydb("synth --firms 10 -o " + shellWord(root() / "edition.json"), root()).firstErrorLine(),
              "ydb synth: " + (root() / "edition.json").string() + " is a file, not a folder");
    fs::create_directories(root() / "empty");
    EXPECT_EQ(ydb("synth --firms 10 -o " + shellWord(root() / "empty"), root()).status, 0);
    EXPECT_EQ(ydb("synth --firms 10 --force -o " + shellWord(root()), root()).status, 0);
    EXPECT_NE(contents(root() / "firms.jsonl"), handWritten);
}

// What `ydb new` writes builds into an edition with everything the handheld's screens read.
TEST_F(YdbCommand, NewWritesAnEditionThatBuildsAndChecksWithoutAWarning) {
    const fs::path starter = root() / "town";
    Outcome n = ydb("new " + shellWord(starter), root());
    ASSERT_EQ(n.status, 0) << n.out;
    EXPECT_EQ(n.errors, "");
    const fs::path file = root() / "device" / "town.ydb";  // its folder made by the build
    Outcome b = ydb("build " + shellWord(starter) + " -o " + shellWord(file), root());
    ASSERT_EQ(b.status, 0) << b.out;
    EXPECT_EQ(b.errors, "");
    Outcome c = ydb("check " + shellWord(file), root());
    EXPECT_EQ(c.status, 0);
    EXPECT_EQ(c.out, "sound: 6 rubrics, 5 firms, 3 streets, 7 telephone entries\n");
    for (const char* page : {"lumetra.html", "bridges.html", "info_service.html", "quandrix.html", "pdd.htm", "sprav.htm"})
        EXPECT_TRUE(fs::exists(root() / "device" / "HTML" / page)) << page;

    // Never into a folder that holds anything.
    const std::string written = contents(starter / "firms.jsonl");
    Outcome again = ydb("new " + shellWord(starter), root());
    EXPECT_EQ(again.status, 2);
    EXPECT_EQ(again.firstErrorLine(), "ydb new: " + starter.string() + " is not empty; name a new folder");
    EXPECT_EQ(contents(starter / "firms.jsonl"), written);
    EXPECT_EQ(ydb("new " + shellWord(file), root()).firstErrorLine(), "ydb new: " + file.string() + " is a file, not a folder");
    EXPECT_EQ(ydb("new", root()).status, 2);
}

// What the handheld will not find is warned about, and the exit code stays that of a sound source.
TEST_F(YdbCommand, WarningsNameWhatToAddAndLeaveTheExitCodeAlone) {
    const fs::path starter = root() / "town";
    ASSERT_EQ(ydb("new " + shellWord(starter), root()).status, 0);
    std::string help = contents(starter / "help.html");
    help.replace(help.find("name=\"t41\""), 10, "name=\"x41\"");
    std::ofstream(starter / "help.html", std::ios::binary) << help;
    fs::remove(starter / "html" / "medics.html");
    // The metro scheme left out: the about pictures stay pictures 0-3.
    std::string edition = contents(starter / "edition.json");
    const std::string scheme = ",\n  {\n   \"picture\": \"pictures/metro.bmp\"\n  }";
    ASSERT_NE(edition.find(scheme), std::string::npos) << edition;
    edition.erase(edition.find(scheme), scheme.size());
    std::ofstream(starter / "edition.json", std::ios::binary) << edition;
    const fs::path file = root() / "device" / "town.ydb";
    fs::create_directories(file.parent_path());

    Outcome b = ydb("build " + shellWord(starter) + " -o " + shellWord(file) + " --quiet", root());
    EXPECT_EQ(b.status, 0) << b.out;
    EXPECT_EQ(b.errors,
              "help.html: warning: no anchor \"t41\": the help of the metro scheme opens at the top of the text; add "
              "<a name=\"t41\"></a> before its paragraph\n"
              "edition.json: resources: warning: no picture 4 (the metro scheme): the screen leaves its place empty; "
              "add a {\"picture\": FILE} of at least 320 x 294 pixels as picture resource number 5\n"
              "html/: warning: no medics.html, which the telephones page's \"Здравоохранение\" opens (city letter Н): "
              "it would stay on \"Загружается: …\"; add html/medics.html\n");

    Outcome c = ydb("check " + shellWord(file), root());
    EXPECT_EQ(c.status, 0);
    EXPECT_EQ(c.out, "warning: help text: no anchor \"t41\": the help of the metro scheme opens at the top of the text; "
                     "add <a name=\"t41\"></a> before its paragraph\n"
                     "warning: no picture 4 (the metro scheme): the screen leaves its place empty; add a {\"picture\": "
                     "FILE} of at least 320 x 294 pixels as picture resource number 5\n"
                     "sound: 6 rubrics, 5 firms, 3 streets, 7 telephone entries\n");
}

// A key given twice is an error of `build` with its exit code.
TEST_F(YdbCommand, AKeyGivenTwiceFailsTheBuild) {
    built.source.write("firms.jsonl", "{\"name\": \"A\", \"name\": \"B\"}\n");
    Outcome b = build();
    EXPECT_EQ(b.status, 1);
    EXPECT_NE(b.errors.find("firms.jsonl:1:15: name: given twice in one object (first at column 2); only the last "
                            "would be kept\n"),
              std::string::npos)
        << b.errors;
}

TEST_F(YdbCommand, HelpIsTheUsageOnStandardOutput) {
    for (const char* asked : {"--help", "-h", "help"}) {
        Outcome h = ydb(asked, root());
        EXPECT_EQ(h.status, 0) << asked;
        EXPECT_EQ(h.printed.rfind("usage: ydb COMMAND", 0), 0u) << asked << ": " << h.out;
        EXPECT_EQ(h.errors, "") << asked;
    }
    const struct {
        const char* arguments;
        const char* firstLine;
    } commands[] = {
        {"build --help", "usage: ydb build SOURCE_DIR -o FILE.ydb [--quiet]"},
        {"help synth", "usage: ydb synth [--firms N] -o DIR [--seed S] [--force]"},
        {"query some.ydb search -h", "usage: ydb query FILE WHAT [ARGUMENTS] [--json]"},
        {"dump --help", "usage: ydb dump FILE TABLE"},
    };
    for (const auto& c : commands) {
        Outcome h = ydb(c.arguments, root());
        EXPECT_EQ(h.status, 0) << c.arguments;
        EXPECT_EQ(h.printed.substr(0, h.printed.find('\n')), c.firstLine) << c.arguments;
    }
    EXPECT_NE(ydb("help query", root()).printed.find("complete-street TEXT"), std::string::npos);
    Outcome unknown = ydb("frobnicate", root());
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.firstErrorLine(), "ydb: unknown command 'frobnicate'");
}

// 0 done, 1 damaged or findings, 2 usage or a file that cannot be read, for every command.
TEST_F(YdbCommand, ExitCodesAndFirstLinesAgreeForEveryCommand) {
    std::string error;
    ASSERT_TRUE(built.build(error)) << error;
    const fs::path sound = root() / "sound.ydb";
    fs::copy_file(built.path, sound);
    // Cut inside the help text: the tables are whole, the resource chain is not.
    const uint32_t resources = built.image.tableStart[8];
    truncateImage(built.image, resources + 20);
    ASSERT_TRUE(built.save());
    const std::string cut = shellWord(built.path);
    std::ofstream(root() / "empty.ydb").flush();
    fs::create_directories(root() / "folder.ydb");
    fs::remove(root() / "streets.jsonl");

    const struct {
        std::string arguments;
        int status;
        std::string firstLine;  // of standard error; empty: not compared
    } cases[] = {
        {"info " + cut, 1, ""},
        {"dump " + shellWord(root() / "empty.ydb") + " firms", 1,
         "ydb dump: " + (root() / "empty.ydb").string() + ": not a directory database (its first bytes are not the format's mark)"},
        {"info " + shellWord(root() / "folder.ydb"), 2,
         "ydb info: " + (root() / "folder.ydb").string() + ": is a folder, not a database file"},
        {"query " + shellWord(root() / "missing.ydb") + " letters", 2,
         "ydb query: " + (root() / "missing.ydb").string() + ": no such file"},
        {"query " + shellWord(sound) + " search", 2, "ydb query: search needs at least one of --name, --street and --phone (with letters or digits)"},
        {"build " + shellWord(root()) + " -o " + shellWord(root() / "x.ydb"), 2,
         "streets.jsonl: missing: every source edition has one"},
        {"dump " + shellWord(sound) + " 8", 2, "ydb dump: no table '8'"},
        {"check " + shellWord(sound), 0, ""},
    };
    for (const auto& c : cases) {
        Outcome r = ydb(c.arguments, root());
        EXPECT_EQ(r.status, c.status) << c.arguments << "\n" << r.out;
        if (!c.firstLine.empty()) {
            EXPECT_EQ(r.firstErrorLine(), c.firstLine) << c.arguments;
        }
    }
    Outcome info = ydb("info " + cut, root());
    EXPECT_NE(info.printed.find("  damaged: "), std::string::npos) << info.out;
}

TEST_F(YdbCommand, ATruncatedFileIsDescribedInTheToolsOwnWords) {
    std::string error;
    ASSERT_TRUE(built.build(error)) << error;
    truncateImage(built.image, built.image.tableStart[5]);
    ASSERT_TRUE(built.save());
    for (const char* command : {"info", "check", "query"}) {
        Outcome r = ydb(std::string(command) + " " + shellWord(built.path) + (command[0] == 'q' ? " letters" : ""), root());
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_EQ(r.errors, "ydb " + std::string(command) + ": " + built.path +
                                ": damaged: the file is shorter than its table of tables says: truncated, or not a "
                                "directory database (reader code -100)\n")
            << command;
    }
}

TEST_F(YdbCommand, QueryFirmsNeedsTheStartOfARubricsFirmList) {
    std::string error;
    ASSERT_TRUE(built.build(error)) << error;
    // Автосервисы lists three firms.
    const uint32_t list = built.image.rubricListRefs[1];
    Outcome listed = ydb("query " + shellWord(built.path) + " firms " + std::to_string(list), root());
    EXPECT_EQ(listed.status, 0) << listed.out;
    EXPECT_EQ(std::count(listed.printed.begin(), listed.printed.end(), '\n'), 3) << listed.out;

    Outcome inside = ydb("query " + shellWord(built.path) + " firms " + std::to_string(list + 4), root());
    EXPECT_EQ(inside.status, 1);
    EXPECT_EQ(inside.firstErrorLine(), "ydb query: no rubric's firm list starts at " + std::to_string(list + 4) +
                                           "; the rubrics' firmListRef values are the starts (ydb dump FILE rubrics)");
    const uint32_t length = built.image.tableStart[tableRubricFirms + 1] - built.image.tableStart[tableRubricFirms];
    Outcome beyond = ydb("query " + shellWord(built.path) + " firms " + std::to_string(length), root());
    EXPECT_EQ(beyond.status, 1);
    EXPECT_EQ(beyond.firstErrorLine(), "ydb query: firm list " + std::to_string(length) +
                                           " lies beyond the rubric firm lists (" + std::to_string(length) + " bytes)");
}

} // namespace
