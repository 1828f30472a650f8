// The favourites file as the slots see it: where it lies for each database choice, what an append
// writes, and how every kind of line break, comment, blank line and the two limits (twelve slots,
// 2048 bytes) come back as slot captions.
#include "shell/favourites.h"

#include "shell/shell_state.h"
#include "shell/tile_table.h"
#include "tests/db/test_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

class FavouritesTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        shellState.shellBuffer = buffer;
        resetTileTable(shellState.textStyles);
        makeFolder("Cards/Spb");
        choose(u"\\Cards\\Spb\\spb.ydb");
    }
    void TearDown() override
    {
        shellState.shellBuffer = nullptr;
        DeviceTest::TearDown();
    }

    static void choose(std::u16string_view path, int count = 1, int current = 0)
    {
        databaseProgram.choices = DatabaseChoices{};
        for (int i = 0; i < count; ++i)
            std::copy(path.begin(), path.end(), databaseProgram.choices.entries[i].path);
        databaseProgram.choices.count = count;
        databaseProgram.choices.current = current;
    }

    std::string hostFile() const { return root + "/Cards/Spb/Favorites.txt"; }
    void writeFile(const std::string& bytes) const { std::ofstream(hostFile(), std::ios::binary) << bytes; }
    std::string readFile() const
    {
        std::ifstream in(hostFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    static std::vector<std::u16string> slots()
    {
        std::vector<std::u16string> shown;
        for (int i = firstFavouriteSlot; i <= homePages[favouritesPage].last; ++i)
            shown.push_back(tileTable[i].caption != nullptr ? wide(tileTable[i].caption) : u"<none>");
        return shown;
    }

    char buffer[shellBufferBytes] = {};
};

std::u16string pathOf()
{
    WCHAR path[favouritesPathCapacity];
    return favouritesPath(path) == 0 ? wide(path) : u"<none>";
}

TEST_F(FavouritesTest, ThePathIsTheDatabaseFolderAndNoneWhereThereIsNoFolderOrChoice)
{
    EXPECT_EQ(pathOf(), u"\\Cards\\Spb\\Favorites.txt");
    choose(u"\\spb.ydb");
    EXPECT_EQ(pathOf(), u"<none>") << "the first character's backslash is not a folder";
    choose(u"x\\spb.ydb");
    EXPECT_EQ(pathOf(), u"x\\Favorites.txt");
    choose(u"\\Cards\\Spb\\spb.ydb", 1, 1);
    EXPECT_EQ(pathOf(), u"<none>") << "the current index beyond the choices";
    choose(u"\\Cards\\Spb\\spb.ydb", 1, -1);
    EXPECT_EQ(pathOf(), u"<none>");
    // A folder that leaves no room for the name gives no path rather than a cut or overrun one.
    const std::u16string deep = u"\\" + std::u16string(246, u'a') + u"\\b";
    choose(deep);
    EXPECT_EQ(pathOf(), u"<none>");
    choose(u"\\" + std::u16string(200, u'a') + u"\\b.ydb");
    EXPECT_EQ(pathOf().size(), 202u + 13u);
}

TEST_F(FavouritesTest, AppendsCreateTheFileAndComeBackAsTheLastSlots)
{
    ASSERT_FALSE(std::filesystem::exists(hostFile()));
    EXPECT_EQ(appendFavourite(W("Автосервис"), 1000), favouriteWritten);
    EXPECT_EQ(appendFavourite(W("Банки"), 1000), favouriteWritten);
    EXPECT_EQ(readFile(), cp1251(u"Автосервис\r\nБанки\r\n"));
    loadFavourites();
    EXPECT_EQ(slots(), (std::vector<std::u16string>{u"Автосервис", u"Банки"}));

    // The byte limit counts the terminator: 5 keeps four bytes of the title.
    EXPECT_EQ(appendFavourite(W("Гостиницы"), 5), favouriteWritten);
    EXPECT_EQ(readFile().substr(readFile().size() - 6), cp1251(u"Гост\r\n"));
    EXPECT_EQ(appendFavourite(W(""), 1000), favouriteWritten) << "an empty title is an empty line";
    loadFavourites();
    EXPECT_EQ(slots().back(), u"Гост");
}

TEST_F(FavouritesTest, AnAppendAfterALastLineWithoutABreakKeepsBothEntries)
{
    writeFile(cp1251(u"Аптеки"));
    EXPECT_EQ(appendFavourite(W("Банки"), 1000), favouriteWritten);
    EXPECT_EQ(readFile(), cp1251(u"Аптеки\r\nБанки\r\n"));
    writeFile(cp1251(u"Аптеки\r"));
    EXPECT_EQ(appendFavourite(W("Банки"), 1000), favouriteWritten);
    EXPECT_EQ(readFile(), cp1251(u"Аптеки\rБанки\r\n")) << "a CR alone already ends the line";
    loadFavourites();
    EXPECT_EQ(slots(), (std::vector<std::u16string>{u"Аптеки", u"Банки"}));
}

TEST_F(FavouritesTest, AnAppendThatCannotOpenTheFileWritesNothingAndKeepsTheReason)
{
    choose(u"\\Missing\\spb.ydb");
    EXPECT_EQ(appendFavourite(W("Банки"), 1000), favouriteOpenFailed);
    EXPECT_NE(GetLastError(), 0u);
    choose(u"\\Cards\\Spb\\spb.ydb");
    writeFile(cp1251(u"Аптеки\r\n"));
    HANDLE held = CreateFileW(W("\\Cards\\Spb\\Favorites.txt"), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(appendFavourite(W("Банки"), 1000), favouriteOpenFailed) << "another program holds the file";
    CloseHandle(held);
    EXPECT_EQ(readFile(), cp1251(u"Аптеки\r\n"));
    choose(u"\\spb.ydb");
    EXPECT_EQ(appendFavourite(W("Банки"), 1000), favouriteNoPath);
}

TEST_F(FavouritesTest, EveryLineBreakGivesTheSameSlotsAndCommentsAndBlankLinesGiveNone)
{
    for (const char* breaks : {"\r\n", "\n", "\r", "\r\n\r\n\n"}) {
        SCOPED_TRACE(breaks);
        const std::string b = breaks;
        writeFile(b + cp1251(u"Аптеки") + b + cp1251(u"*Банки") + b + b + cp1251(u"Вокзалы") + b + "*" + b +
                  cp1251(u"Гаражи"));
        loadFavourites();
        EXPECT_EQ(slots(), (std::vector<std::u16string>{u"Аптеки", u"Вокзалы", u"Гаражи"}))
            << "the last line needs no break";
        EXPECT_EQ(homePages[favouritesPage].last, 15);
    }
}

TEST_F(FavouritesTest, OnlyTwelveEntriesAndTheFirst2048BytesAreShown)
{
    std::string many;
    for (int i = 1; i <= 14; ++i)
        many += "r" + std::to_string(i) + "\r\n";
    writeFile(many);
    loadFavourites();
    ASSERT_EQ(slots().size(), 12u);
    EXPECT_EQ(slots().back(), u"r12");

    // One long entry running past the limit ends at it; what follows is never read.
    writeFile("first\r\n" + std::string(2100, 'x') + "\r\nlast\r\n");
    loadFavourites();
    ASSERT_EQ(slots().size(), 2u);
    EXPECT_EQ(slots()[1], std::u16string(2048 - 7, u'x'));

    // The whole store in use: 2048 one-byte-apart entries cannot exceed it.
    std::string dense;
    while (dense.size() < 2048)
        dense += "ab\n";
    writeFile(dense);
    loadFavourites();
    EXPECT_EQ(slots().size(), 12u);
}

TEST_F(FavouritesTest, WithoutAChoiceTheSlotsStayAndWithoutAFileThePageIsEmpty)
{
    writeFile(cp1251(u"Аптеки\r\n"));
    loadFavourites();
    ASSERT_EQ(slots().size(), 1u);
    choose(u"\\Cards\\Spb\\spb.ydb", 1, 3);
    loadFavourites();
    EXPECT_EQ(slots().size(), 1u) << "no current choice: nothing is touched";
    choose(u"\\spb.ydb");
    loadFavourites();
    EXPECT_EQ(slots().size(), 1u) << "no path: nothing is touched";
    choose(u"\\Cards\\Spb\\spb.ydb");
    std::filesystem::remove(hostFile());
    loadFavourites();
    EXPECT_TRUE(slots().empty());
    EXPECT_EQ(tileTable[firstFavouriteSlot].caption, nullptr);
}

TEST_F(FavouritesTest, EachDatabaseFolderKeepsItsOwnList)
{
    makeFolder("Cards/Msk");
    databaseProgram.choices = DatabaseChoices{};
    const std::u16string spb = u"\\Cards\\Spb\\spb.ydb";
    const std::u16string msk = u"\\Cards\\Msk\\msk.ydb";
    std::copy(spb.begin(), spb.end(), databaseProgram.choices.entries[0].path);
    std::copy(msk.begin(), msk.end(), databaseProgram.choices.entries[1].path);
    databaseProgram.choices.count = 2;
    EXPECT_EQ(appendFavourite(W("Мосты"), 1000), favouriteWritten);
    databaseProgram.choices.current = 1;
    EXPECT_EQ(appendFavourite(W("Метро"), 1000), favouriteWritten);
    loadFavourites();
    EXPECT_EQ(slots(), std::vector<std::u16string>{u"Метро"});
    databaseProgram.choices.current = 0;
    loadFavourites();
    EXPECT_EQ(slots(), std::vector<std::u16string>{u"Мосты"});
}

}  // namespace
