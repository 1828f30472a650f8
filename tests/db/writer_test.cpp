// The writer: the white-pages order, the name-prefix index, and what it refuses.
#include "tests/db/test_support.h"
#include "tools/writer/image_patch.h"

namespace {

DatabaseImage written(const Edition& edition) {
    DatabaseImage image;
    std::string error;
    EXPECT_EQ(writeEdition(edition, image, error), writeOk) << error;
    return image;
}

EditionFirm namedFirm(std::string name) {
    EditionFirm firm;
    firm.name = std::move(name);
    return firm;
}

std::string refusal(const Edition& edition) {
    DatabaseImage image;
    std::string error;
    EXPECT_EQ(writeEdition(edition, image, error), writeRefused);
    EXPECT_TRUE(image.bytes.empty());
    return error;
}

TEST(EditionWriter, FirmsFollowTheirSearchKeysAsUnsignedBytes) {
    const DatabaseImage image = written(sampleEdition());
    // ZETA (Latin) before АПТЕКА, ЕЛКА2 (from Ёлка-2) and ОООРОМАШКА».
    EXPECT_EQ(image.firmOrder, (std::vector<uint32_t>{3, 1, 2, 0}));
    EXPECT_EQ(image.prefixes,
              (std::vector<std::string>{"ZETA", cp1251(u"АПТЕК"), cp1251(u"ЕЛКА2"), cp1251(u"ОООРО")}));
    EXPECT_EQ(image.firmRefs[3], 0u);
    EXPECT_LT(image.firmRefs[1], image.firmRefs[2]);
    EXPECT_LT(image.firmRefs[2], image.firmRefs[0]);
}

TEST(EditionWriter, EqualKeysKeepTheirOrderAndShareOnePrefixEntry) {
    Edition e;
    e.title = "T";
    for (const char* name : {"b-second", "A.B.C", "abcde 2", "ABCDE 1", "a"}) e.firms.push_back(namedFirm(name));
    const DatabaseImage image = written(e);
    // Keys: BSECOND, ABC, ABCDE2, ABCDE1, A.
    EXPECT_EQ(image.firmOrder, (std::vector<uint32_t>{4, 1, 3, 2, 0}));
    EXPECT_EQ(image.prefixes, (std::vector<std::string>{"A", "ABC", "ABCDE", "BSECO"}));
    ASSERT_EQ(image.tableStart[2] - image.tableStart[1], 4 * ydb::prefixEntrySize);
    // The ABCDE entry points at ABCDE1, the first of its run.
    const uint8_t* entry = image.bytes.data() + image.tableStart[1] + 2 * ydb::prefixEntrySize;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry), 6), std::string("ABCDE\0", 6));
    EXPECT_EQ(ydb::loadU32(entry + ydb::prefixFirmRefOffset), image.firmRefs[3]);
    EXPECT_EQ(ydb::loadU32(image.bytes.data() + ydb::prefixCountOffset), 4u);
}

TEST(EditionWriter, HeaderHoldsMagicBoundariesCountsAndTitle) {
    const Edition e = sampleEdition();
    const DatabaseImage image = written(e);
    const uint8_t* h = image.bytes.data();
    EXPECT_TRUE(ydb::hasMagic(h));
    EXPECT_EQ(image.tableStart[0], ydb::headerSize);
    for (uint32_t k = 0; k < ydb::tableStartCount; ++k) {
        EXPECT_EQ(ydb::loadU32(h + ydb::tableStartOffset + 4 * k), image.tableStart[k]);
        if (k > 0) {
            EXPECT_LE(image.tableStart[k - 1], image.tableStart[k]);
        }
    }
    EXPECT_EQ(ydb::loadU32(h + ydb::rubricCountOffset), 3u);
    EXPECT_EQ(ydb::loadU32(h + ydb::streetCountOffset), 2u);
    EXPECT_EQ(ydb::loadU32(h + ydb::phoneCountOffset), 3u);
    EXPECT_EQ(h[ydb::cityLetterOffset], e.cityLetter);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(h + ydb::titleOffset)), e.title);
    // Telephone entries ascend by number.
    const uint8_t* phones = h + image.tableStart[6];
    EXPECT_EQ(ydb::loadU32(phones), 3100000u);
    EXPECT_EQ(ydb::loadU32(phones + 8), 3123456u);
    EXPECT_EQ(ydb::loadU32(phones + 16), 3123457u);
    // Chunks: the bitmap file as it is, then "HT" with its size.
    ASSERT_EQ(image.chunkOffsets.size(), 2u);
    EXPECT_EQ(image.chunkOffsets[0], image.tableStart[8]);
    const uint8_t* help = h + image.chunkOffsets[1];
    EXPECT_EQ(help[0], 'H');
    EXPECT_EQ(ydb::loadU32(help + ydb::chunkSizeOffset), ydb::chunkHeaderSize + 17);
    EXPECT_EQ(image.bytes.size(), image.chunkOffsets[1] + ydb::chunkHeaderSize + 17);
}

TEST(EditionWriter, RefusesWhatTheFormatCannotHold) {
    Edition e = sampleEdition();
    e.title = std::string(81, 'x');
    EXPECT_NE(refusal(e).find("title"), std::string::npos);

    e = sampleEdition();
    e.firms[0].name = std::string(70000, 'x');
    EXPECT_NE(refusal(e).find("16-bit"), std::string::npos);

    e = sampleEdition();
    e.firms[1].comment = std::string(40000, 'x');
    e.firms[1].rubricCodes = std::string(30000, 'x');
    EXPECT_NE(refusal(e).find("details"), std::string::npos);

    e = sampleEdition();
    e.streets[0].firms.assign(16384, 0);
    EXPECT_NE(refusal(e).find("16-bit byte count"), std::string::npos);

    e = sampleEdition();
    e.firms[2].web = std::string("a\0b", 3);
    EXPECT_NE(refusal(e).find("0 byte"), std::string::npos);

    e = sampleEdition();
    e.rubrics[1].firms.push_back(4);
    EXPECT_NE(refusal(e).find("out of range"), std::string::npos);

    e = sampleEdition();
    e.firms[0].street = 2;
    EXPECT_NE(refusal(e).find("out of range"), std::string::npos);

    e = sampleEdition();
    e.chunks[0].bytes = "XX" + std::string(20, '\0');
    EXPECT_NE(refusal(e).find("bitmap"), std::string::npos);
}

TEST(EditionWriter, LimitsThatFitAreWritten) {
    Edition e = sampleEdition();
    e.title = std::string(80, 'x');
    e.streets[0].firms.assign(16383, 0);
    // A firm with only a name: the body is the name, its 0 and 16 bytes of numbers and empty texts.
    e.firms.push_back(namedFirm(std::string(65535 - 17, 'x')));
    DatabaseImage image;
    std::string error;
    EXPECT_EQ(writeEdition(e, image, error), writeOk) << error;
    e.firms.back().name += 'x';
    EXPECT_EQ(writeEdition(e, image, error), writeRefused);
}

TEST(ImagePatch, RefusesPatchesPastTheEnd) {
    DatabaseImage image = written(sampleEdition());
    const auto size = static_cast<uint32_t>(image.bytes.size());
    EXPECT_TRUE(patchU32(image, size - 4, 7));
    EXPECT_FALSE(patchU32(image, size - 3, 7));
    EXPECT_FALSE(patchU16(image, 0xFFFFFFFF, 7));
    EXPECT_FALSE(patchBytes(image, size, "x"));
    EXPECT_FALSE(setTableStart(image, 9, 0));
    EXPECT_TRUE(setTableStart(image, 8, 5));
    EXPECT_EQ(ydb::loadU32(image.bytes.data() + ydb::tableStartOffset + 32), 5u);
    EXPECT_FALSE(truncateImage(image, size + 1));
    EXPECT_TRUE(truncateImage(image, 10));
    EXPECT_EQ(image.bytes.size(), 10u);
}

} // namespace
