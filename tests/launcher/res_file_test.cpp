// The launcher's compiled resource script as the program sees it, and damaged .res files refused
// with the place of the fault.
#include "resources/launcher/launcher_ids.h"
#include "resources/res_file/res_file.h"
#include "resources/res_file/res_register.h"

#include "emulator.h"
#include "win32.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::vector<uint8_t> launcherRes()
{
    std::ifstream in(LAUNCHER_RES_FILE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const resfile::Resource* find(const resfile::ReadResult& read, uint16_t type, uint16_t name)
{
    for (const resfile::Resource& r : read.resources)
        if (r.type.isNumber() && r.type.id == type && r.name.isNumber() && r.name.id == name)
            return &r;
    return nullptr;
}

uint32_t le32(const std::vector<uint8_t>& data, size_t at)
{
    return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
}

TEST(LauncherResources, EveryResourceTheProgramAsksForIsThere)
{
    const resfile::ReadResult read = resfile::readResFile(launcherRes());
    ASSERT_EQ(read.error, "");
    for (int bitmap : {130, 131, 132, 133, 134, 135, 136, 137, 139})
        EXPECT_NE(find(read, 2, static_cast<uint16_t>(bitmap)), nullptr) << bitmap;
    EXPECT_NE(find(read, 14, IDI_VANTORY), nullptr); // RT_GROUP_ICON
    EXPECT_NE(find(read, 14, IDI_SMALL), nullptr);
    EXPECT_NE(find(read, 5, IDD_ABOUTBOX), nullptr);  // RT_DIALOG
    EXPECT_NE(find(read, 9, IDC_VANTORY), nullptr);   // RT_ACCELERATOR
    // Strings 103 and 109 live in blocks 7 (96-111) of the string table.
    EXPECT_NE(find(read, 6, 7), nullptr);

    // The background is the 798 x 610 picture at 24 bits the window copies whole.
    const resfile::Resource* background = find(read, 2, IDB_BACKGROUND);
    ASSERT_NE(background, nullptr);
    ASSERT_GE(background->data.size(), 40u);
    EXPECT_EQ(le32(background->data, 4), 798u);
    EXPECT_EQ(le32(background->data, 8), 610u);
    EXPECT_EQ(background->data[14] | background->data[15] << 8, 24);
}

// The about box from Alt with "?" or "/" (as characters, and as the "/" key), and Esc and Alt+F4
// to close.
TEST(LauncherResources, AcceleratorsOpenTheAboutBoxAndClose)
{
    const resfile::ReadResult read = resfile::readResFile(launcherRes());
    const resfile::Resource* table = find(read, 9, IDC_VANTORY);
    ASSERT_NE(table, nullptr);
    const struct {
        uint16_t flags;
        uint16_t key;
        uint16_t command;
    } expected[] = {
        {FALT, '?', IDM_ABOUT},
        {FALT, '/', IDM_ABOUT},
        {FVIRTKEY | FALT, 0xBF, IDM_ABOUT},
        {FVIRTKEY | FSHIFT | FALT, 0xBF, IDM_ABOUT},
        {FVIRTKEY, VK_ESCAPE, IDM_EXIT},
        {FVIRTKEY | FALT, VK_F4, IDM_EXIT},
    };
    constexpr size_t count = sizeof expected / sizeof expected[0];
    ASSERT_EQ(table->data.size(), count * 8); // ACCELTABLEENTRY of 8 bytes each
    for (size_t entry = 0; entry < count; ++entry) {
        const uint8_t* e = table->data.data() + entry * 8;
        EXPECT_EQ((e[0] | e[1] << 8) & 0x7F, expected[entry].flags) << entry;
        EXPECT_EQ(e[2] | e[3] << 8, expected[entry].key) << entry;
        EXPECT_EQ(e[4] | e[5] << 8, expected[entry].command) << entry;
    }
    EXPECT_TRUE(table->data[(count - 1) * 8] & 0x80) << "the last entry is marked";
}

TEST(LauncherResources, RegisteredResourcesAreFoundByIdentifier)
{
    const std::vector<uint8_t> bytes = launcherRes();
    std::string error;
    ASSERT_EQ(resfile::registerResFile(bytes.data(), bytes.size(), error), 0) << error;
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDB_BACKGROUND), RT_BITMAP);
    ASSERT_NE(found, nullptr);
    EXPECT_GT(SizeofResource(nullptr, found), 798u * 610u * 3u);
    EXPECT_NE(FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_ABOUTBOX), MAKEINTRESOURCEW(5)), nullptr);
    emu::clearResources();
}

TEST(DamagedResFile, RefusedWithTheRecordAtFault)
{
    std::vector<uint8_t> bytes = launcherRes();
    ASSERT_GT(bytes.size(), 64u);

    // Cut inside the first real record's header.
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 36);
    EXPECT_NE(resfile::readResFile(cut).error, "");

    // A data size running past the end of the file.
    std::vector<uint8_t> huge = bytes;
    huge[32] = huge[33] = huge[34] = huge[35] = 0xFF;
    const resfile::ReadResult read = resfile::readResFile(huge);
    EXPECT_NE(read.error.find("offset 32"), std::string::npos) << read.error;

    // A header size smaller than its own two size fields.
    std::vector<uint8_t> small = bytes;
    small[36] = 4;
    small[37] = small[38] = small[39] = 0;
    EXPECT_NE(resfile::readResFile(small).error, "");

    // A name string without its terminator, reaching the end of the header.
    // (an empty first record of data 0 and header 32, then a record whose header is all name).
    std::vector<uint8_t> open = {0, 0, 0, 0, 0x20, 0, 0, 0};
    open.resize(32, 0);
    for (int b : {0, 0, 0, 0, 12, 0, 0, 0, int{'A'}, 0, int{'B'}, 0})
        open.push_back(static_cast<uint8_t>(b));
    EXPECT_NE(resfile::readResFile(open).error, "");

    std::string error;
    EXPECT_EQ(resfile::registerResFile(huge.data(), huge.size(), error), -1);
    EXPECT_NE(error, "");
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(IDB_BACKGROUND), RT_BITMAP), nullptr);
}

} // namespace
