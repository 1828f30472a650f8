#include "tools/setup/install.h"

#include "tests/launcher/temp_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <set>
#include <spawn.h>
#include <sys/wait.h>

namespace fs = std::filesystem;
using ::testing::HasSubstr;

extern char** environ;

namespace {

// Every path under `root`, relative, with '/' separators.
std::set<std::string> listing(const fs::path& root)
{
    std::set<std::string> paths;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        paths.insert(fs::relative(entry.path(), root).generic_string());
    return paths;
}

class SetupInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(device());
        writeFile(medium() / "SPb" / "spb.ydb", "new Petersburg edition");
        writeFile(medium() / "SPb" / "HTML" / "index.htm", "<p>new index</p>");
        writeFile(medium() / "SPb" / "HTML" / "metro" / "map.gif", "GIF89a new");
        writeFile(medium() / "Msk" / "msk.ydb", "new Moscow edition");
    }

    fs::path medium() const { return scratch.path() / "medium"; }
    fs::path device() const { return scratch.path() / "device"; }
    fs::path installed() const { return device() / "Storage Card" / "Program Files" / "MORVANE" / "QUILLDEN"; }

    std::vector<setup::EditionSource> petersburg() const { return {{"SPb", medium() / "SPb"}}; }
    std::vector<setup::EditionSource> both() const { return {{"SPb", medium() / "SPb"}, {"Msk", medium() / "Msk"}}; }

    setup::InstallResult install(const std::vector<setup::EditionSource>& editions)
    {
        setup::Progress progress;
        progress.copying = [this](const std::string& file, uint64_t done, uint64_t total) {
            shownFiles.push_back(file);
            EXPECT_LE(done, total);
        };
        return setup::installEditions(editions, device(), progress);
    }

    // An older edition as a previous installation left it.
    void installOlderPetersburg()
    {
        writeFile(installed() / "SPb" / "spb.ydb", "old Petersburg edition");
        writeFile(installed() / "SPb" / "HTML" / "index.htm", "<p>old index</p>");
        writeFile(installed() / "SPb" / "HTML" / "retired.htm", "<p>gone in the new edition</p>");
    }

    TempFolder scratch;
    std::vector<std::string> shownFiles;
};

TEST_F(SetupInstall, InstallsEveryEditionIntoAnEmptyDevice)
{
    setup::InstallResult result = install(both());
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(listing(installed()), (std::set<std::string>{"SPb", "SPb/spb.ydb", "SPb/HTML", "SPb/HTML/index.htm",
                                                           "SPb/HTML/metro", "SPb/HTML/metro/map.gif", "Msk",
                                                           "Msk/msk.ydb"}));
    EXPECT_EQ(readFile(installed() / "SPb" / "spb.ydb"), "new Petersburg edition");
    EXPECT_EQ(readFile(installed() / "SPb" / "HTML" / "metro" / "map.gif"), "GIF89a new");
    EXPECT_EQ(readFile(installed() / "Msk" / "msk.ydb"), "new Moscow edition");
    // The user sees each file by its device path.
    EXPECT_THAT(shownFiles, ::testing::Contains("\\Storage Card\\Program Files\\MORVANE\\QUILLDEN\\SPb\\spb.ydb"));
    EXPECT_EQ(shownFiles.size(), 4u);
}

TEST_F(SetupInstall, ReplacesAnInstalledEditionWhole)
{
    installOlderPetersburg();
    writeFile(installed() / "SPb" / "spb-2025.ydb", "an older issue under another name");
    writeFile(installed() / "Msk" / "msk.ydb", "old Moscow edition, not part of this setup");

    setup::InstallResult result = install(petersburg());
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(readFile(installed() / "SPb" / "spb.ydb"), "new Petersburg edition");
    EXPECT_EQ(readFile(installed() / "SPb" / "HTML" / "index.htm"), "<p>new index</p>");
    // Nothing of the old edition stays to be offered as a further database choice or page.
    EXPECT_EQ(listing(installed() / "SPb"), (std::set<std::string>{"spb.ydb", "HTML", "HTML/index.htm", "HTML/metro",
                                                                    "HTML/metro/map.gif"}));
    EXPECT_EQ(readFile(installed() / "Msk" / "msk.ydb"), "old Moscow edition, not part of this setup");
}

TEST_F(SetupInstall, ReusesFoldersWhoseNamesDifferOnlyInCase)
{
    writeFile(device() / "storage card" / "PROGRAM FILES" / "Morvane" / "Quillden" / "spb" / "html" / "index.htm",
              "<p>old index</p>");
    writeFile(device() / "storage card" / "PROGRAM FILES" / "Morvane" / "Quillden" / "spb" / "SPB.YDB", "old");

    setup::InstallResult result = install(petersburg());
    ASSERT_TRUE(result.ok) << result.error;
    fs::path edition = device() / "storage card" / "PROGRAM FILES" / "Morvane" / "Quillden" / "spb";
    EXPECT_EQ(listing(device()).count("Storage Card"), 0u);
    EXPECT_EQ(readFile(edition / "SPB.YDB"), "new Petersburg edition");
    EXPECT_EQ(readFile(edition / "HTML" / "index.htm"), "<p>new index</p>");
    EXPECT_EQ(listing(edition).count("html"), 0u);
}

TEST_F(SetupInstall, AFailedCopyLeavesTheOldEditionAsItWas)
{
    installOlderPetersburg();
    fs::create_symlink(scratch.path() / "nowhere", medium() / "SPb" / "HTML" / "broken.htm");
    std::set<std::string> before = listing(installed());

    setup::InstallResult result = install(petersburg());
    EXPECT_FALSE(result.ok);
    EXPECT_THAT(result.error, HasSubstr("broken.htm"));
    EXPECT_EQ(listing(installed()), before);
    EXPECT_EQ(readFile(installed() / "SPb" / "spb.ydb"), "old Petersburg edition");
    EXPECT_EQ(readFile(installed() / "SPb" / "HTML" / "retired.htm"), "<p>gone in the new edition</p>");
}

TEST_F(SetupInstall, StagedCopiesNeverLookLikeDatabases)
{
    // The handheld takes any name holding ".ydb" for a database; a copy caught half-way
    // must not be one. While the pages are copied, the database is already staged.
    installOlderPetersburg();
    std::set<std::string> seen;
    setup::Progress progress;
    progress.copying = [&](const std::string&, uint64_t, uint64_t) {
        for (const std::string& path : listing(installed() / "SPb"))
            seen.insert(path);
    };
    ASSERT_TRUE(setup::installEditions(petersburg(), device(), progress).ok);
    EXPECT_EQ(seen.count("~setup-db.tmp"), 1u);
    for (const std::string& path : seen) {
        if (path != "spb.ydb") {
            EXPECT_EQ(path.find(".ydb"), std::string::npos) << path;
        }
    }
}

TEST_F(SetupInstall, ReportsWhatIsWrongInPlainWords)
{
    {
        setup::InstallResult result = setup::installEditions(petersburg(), scratch.path() / "unplugged", {});
        EXPECT_FALSE(result.ok);
        EXPECT_THAT(result.error, HasSubstr("Подключите КПК"));
        EXPECT_FALSE(fs::exists(scratch.path() / "unplugged"));
    }
    {
        writeFile(device() / "Storage Card", "a file where the card's folder should be");
        setup::InstallResult result = install(petersburg());
        EXPECT_FALSE(result.ok);
        EXPECT_THAT(result.error, HasSubstr("файл, а не папка"));
        fs::remove(device() / "Storage Card");
    }
    {
        fs::remove(medium() / "Msk" / "msk.ydb");
        setup::InstallResult result = install(both());
        EXPECT_FALSE(result.ok);
        EXPECT_THAT(result.error, HasSubstr("нет файла базы"));
    }
    {
        writeFile(medium() / "SPb" / "spb-copy.ydb", "second");
        setup::InstallResult result = install(petersburg());
        EXPECT_FALSE(result.ok);
        EXPECT_THAT(result.error, HasSubstr("несколько файлов баз"));
    }
}

// The built program, run from a medium laid out as on the distribution disc.
class SetupProgram : public SetupInstall {
protected:
    int run(const std::vector<std::string>& arguments, std::string& errors)
    {
        fs::path program = medium() / "setup.exe";
        fs::copy_file(SETUP_ALL_PROGRAM, program, fs::copy_options::overwrite_existing);
        std::vector<std::string> args = {program.string()};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);

        fs::path errorFile = scratch.path() / "stderr.txt";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t child = 0;
        int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0)
            return -1;
        int status = 0;
        waitpid(child, &status, 0);
        errors = readFile(errorFile);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(SetupProgram, InstallsTheEditionsBesideItAndSaysWhenItCannot)
{
    std::string errors;
    EXPECT_EQ(run({device().string()}, errors), 0) << errors;
    EXPECT_EQ(readFile(installed() / "Msk" / "msk.ydb"), "new Moscow edition");
    EXPECT_EQ(readFile(installed() / "SPb" / "HTML" / "index.htm"), "<p>new index</p>");

    EXPECT_EQ(run({(scratch.path() / "unplugged").string()}, errors), 1);
    EXPECT_THAT(errors, HasSubstr("не найдена"));
}

} // namespace
