// The sample device the build lays out, then the setup program run onto it, then the handheld's
// discovery: each edition is found once, in a folder of its own with its own pages.
#include "db/discovery.h"
#include "emulator.h"
#include "tests/launcher/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace fs = std::filesystem;

namespace {

const fs::path installPath = fs::path("Storage Card") / "Program Files" / "MORVANE" / "QUILLDEN";

struct Found {
    std::string path;
    std::string title;
};

// What the handheld offers at start-up on `device`, in order.
std::vector<Found> discover(const fs::path& device)
{
    EXPECT_EQ(emu::setDeviceRoot(device.string()), 0);
    // A program folder that holds no database: the search goes on to the install folder.
    emu::setModuleFileName(u"\\Windows\\Dernolo.exe");
    takeMemoryReading();
    std::vector<Found> found;
    if (chooseStartDatabase() == nullptr)
        return found;
    DatabaseChoices& choices = databaseProgram.choices;
    for (int i = 0; i < choices.count; ++i) {
        DirectoryDatabase* db = createDatabase();
        openDatabase(*db, choices.entries[i].path);
        found.push_back({emu::toUtf8(choices.entries[i].path), db->title ? db->title : ""});
        destroyDatabase(db);
    }
    closeCurrentDatabase();
    return found;
}

std::set<std::string> pageNames(const fs::path& folder)
{
    std::set<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        names.insert(entry.path().filename().string());
    return names;
}

void expectEachEditionOnce(const fs::path& device)
{
    const std::vector<Found> found = discover(device);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].path, "Storage Card\\Program Files\\MORVANE\\QUILLDEN\\Msk\\msk.ydb");
    EXPECT_EQ(found[1].path, "Storage Card\\Program Files\\MORVANE\\QUILLDEN\\SPb\\spb.ydb");
    EXPECT_NE(found[0].title, found[1].title) << "the user must tell the editions apart";
}

class SampleDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(device() / installPath);
        fs::copy(SAMPLE_INSTALL_FOLDER, device() / installPath, fs::copy_options::recursive);
    }
    fs::path device() const { return scratch.path() / "device"; }
    fs::path edition(const char* name) const { return device() / installPath / name; }

    TempFolder scratch;
};

TEST_F(SampleDevice, CarriesEachEditionInAFolderOfItsOwn)
{
    expectEachEditionOnce(device());
    // Pages are looked up beside the database: each folder has its city's and the common ones.
    const std::set<std::string> petersburg = pageNames(edition("SPb") / "HTML");
    const std::set<std::string> moscow = pageNames(edition("Msk") / "HTML");
    EXPECT_EQ(petersburg.count("bridges.html"), 1u);
    EXPECT_EQ(petersburg.count("lumetra.html"), 1u);
    EXPECT_EQ(petersburg.count("pdd.htm"), 0u);
    EXPECT_EQ(moscow.count("pdd.htm"), 1u);
    EXPECT_EQ(moscow.count("lumetra.html"), 1u);
    EXPECT_EQ(moscow.count("bridges.html"), 0u);
}

TEST_F(SampleDevice, InstallingBothEditionsReplacesThemAndKeepsEachOnesFavourites)
{
    // The medium of Install_ALL, carrying the sample editions.
    const fs::path medium = scratch.path() / "Install_ALL";
    fs::create_directories(medium);
    fs::copy(edition("SPb"), medium / "SPb", fs::copy_options::recursive);
    fs::copy(edition("Msk"), medium / "Msk", fs::copy_options::recursive);
    fs::copy_file(SETUP_ALL_PROGRAM, medium / "setup.exe");
    writeFile(edition("SPb") / "Favorites.txt", "Автосервисы\r\n");
    writeFile(edition("Msk") / "Favorites.txt", "Окна\r\n");

    const std::string command = "'" + (medium / "setup.exe").string() + "' '" + device().string() + "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    expectEachEditionOnce(device());
    EXPECT_EQ(readFile(edition("SPb") / "Favorites.txt"), "Автосервисы\r\n");
    EXPECT_EQ(readFile(edition("Msk") / "Favorites.txt"), "Окна\r\n");
}

} // namespace
