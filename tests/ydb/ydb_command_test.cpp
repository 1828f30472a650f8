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
    std::string out;  // standard output and standard error together
};

Outcome ydb(const std::string& arguments, const fs::path& folder) {
    fs::path log = folder / "ydb.log";
    std::string command = std::string(YDB_PROGRAM) + " " + arguments + " >'" + log.string() + "' 2>&1 </dev/null";
    int raw = std::system(command.c_str());
    Outcome r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(log, std::ios::binary);
    r.out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
    EXPECT_EQ(c.out, "sound: 6 rubrics, 4 firms, 3 streets, 4 telephone entries\n");

    Outcome d = ydb("dump " + shellWord(output()) + " firms", root());
    EXPECT_EQ(d.status, 0) << d.out;
    EXPECT_EQ(std::count(d.out.begin(), d.out.end(), '\n'), 4);
    EXPECT_EQ(d.out.rfind("{\"ref\":0,\"name\":\"Альфа\",\"streetRef\":", 0), 0u) << d.out;
    EXPECT_EQ(ydb("dump " + shellWord(output()) + " 6", root()).out.substr(0, 30), "{\"ref\":0,\"number\":112,\"firmRef");

    Outcome i = ydb("info " + shellWord(output()), root());
    EXPECT_EQ(i.status, 0);
    EXPECT_NE(i.out.find("title:\n  Справочник\n  Санкт-Петербург\n"), std::string::npos) << i.out;
    EXPECT_NE(i.out.find("help text 0"), std::string::npos) << i.out;
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

} // namespace
