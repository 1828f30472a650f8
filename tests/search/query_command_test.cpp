// `ydb query` as a publisher runs it: lines on standard output, boxes on standard error, and the
// exit code that says whether the edition is sound.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sys/wait.h>

#include "tests/search/search_fixture.h"
#include "tools/writer/image_patch.h"

namespace {

struct QueryRun {
    int exitCode;
    std::string out, err;
};

class QueryCommandTest : public SearchTest {
protected:
    std::string write(const DatabaseImage& written, const std::string& name) {
        const std::string path = root + "/" + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(written.bytes.data()), static_cast<std::streamsize>(written.bytes.size()));
        return path;
    }
    QueryRun query(const std::string& arguments) {
        const std::string errFile = root + "/stderr.txt";
        const std::string command = std::string(YDB_PROGRAM) + " query " + arguments + " 2>" + errFile;
        QueryRun run{-1, {}, {}};
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return run;
        std::array<char, 4096> buffer;
        size_t n;
        while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
        const int status = pclose(pipe);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream err(errFile);
        run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
        return run;
    }
};

Edition cafes() {
    Edition e;
    e.title = "T";
    e.streets = {{"L", cp1251(u"ЛЕНИНА"), {0}}};
    e.firms = {firmNamed(u"Кафе Лето", 0, 3), firmNamed(u"Кафе Зима")};
    e.rubrics = {{"01", cp1251(u"Кафе"), 3, true, {0, 1}}};
    return e;
}

TEST_F(QueryCommandTest, PrintsTheLinesAndAnswersTheQuestionsByOptions) {
    std::string error;
    ASSERT_EQ(writeEdition(cafes(), image, error), writeOk);
    const std::string file = write(image, "cafes.ydb");

    QueryRun run = query(file + " search --mode contains --name кафе --json");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "{\"text\":\"Кафе Зима\",\"value\":" + std::to_string(image.firmRefs[1]) +
                           "}\n{\"text\":\"Кафе Лето, ЛЕНИНА, 3\",\"value\":" + std::to_string(image.firmRefs[0]) + "}\n");
    EXPECT_EQ(run.err, "");

    run = query(file + " search --name лето --fragment yes");
    EXPECT_EQ(run.out, "Кафе Лето, ЛЕНИНА, 3\n");
    EXPECT_EQ(run.err, "С НАДЕЖДОЙ: НИЧЕГО НЕ НАЙДЕНО!\nИСКАТЬ ФРАГМЕНТ НАЗВАНИЯ?\n");
    run = query(file + " search --name лето");
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("ПОСЛЕДНИЙ ШАНС: "), std::string::npos);

    EXPECT_EQ(query(file + " rubrics").out, "Кафе\n");
    EXPECT_EQ(query(file + " firms " + std::to_string(image.rubricListRefs[0])).out, "Кафе Лето, ЛЕНИНА, 3\nКафе Зима\n");
    EXPECT_EQ(query(file + " complete-name к ка каф кафе кафез").out, "Кафе Зима\n");
}

TEST_F(QueryCommandTest, ExitCodesTellUsageErrorsFromDamagedEditions) {
    std::string error;
    ASSERT_EQ(writeEdition(cafes(), image, error), writeOk);
    const std::string file = write(image, "cafes.ydb");
    EXPECT_EQ(query(file + " search --mode everything --name x").exitCode, 2);
    EXPECT_EQ(query(file + " firms").exitCode, 2);
    EXPECT_EQ(query(root + "/missing.ydb letters").exitCode, 2);

    DatabaseImage damaged = image;
    ASSERT_TRUE(patchU32(damaged, absoluteOffset(damaged, tableRubricFirms, damaged.rubricListRefs[0]) + 8, 0x7FFFFFFF));
    const QueryRun run = query(write(damaged, "damaged.ydb") + " firms " + std::to_string(image.rubricListRefs[0]));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "Кафе Лето, ЛЕНИНА, 3\n");
    EXPECT_EQ(run.err, "БАЗА: Ошибка чтения базы!\n");
}

}  // namespace
