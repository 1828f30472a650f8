// The bitmap surface over databases written by the writer library: the walk to a picture, the
// pixels as the file stores them at every depth and row order, the codes of every failure (planned
// failures of the kernel included), hostile headers, and what copy and stretch draw.
#include "shell/bitmap_surface.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "fuzz/shell/picture_exercise.h"
#include "platform/gdi/dib_format.h"
#include "tests/corpus_replay.h"
#include "tests/db/test_support.h"
#include "tests/gdi/test_pictures.h"

namespace {

using gdi_test::BmpFile;

constexpr uint32_t sentinel = 0x123456;

std::string bytesOf(const std::vector<uint8_t>& v) {
    return {v.begin(), v.end()};
}

EditionChunk picture(const BmpFile& bmp) {
    return {ChunkKind::picture, bytesOf(bmp.file)};
}
EditionChunk helpText() {
    return {ChunkKind::help, "<html><body><a name=\"t2\">help</a></body></html>"};
}

// The file again after its information part changed.
BmpFile rebuilt(BmpFile bmp) {
    bmp.file.assign(14, 0);
    bmp.file[0] = 'B';
    bmp.file[1] = 'M';
    gdi_test::put32(bmp.file, 10, static_cast<uint32_t>(14 + bmp.info.size()));
    bmp.file.insert(bmp.file.end(), bmp.info.begin(), bmp.info.end());
    bmp.file.insert(bmp.file.end(), bmp.bits.begin(), bmp.bits.end());
    return bmp;
}

// A 16- or 32-bit picture with colour masks: after a 40-byte header, or inside a larger one.
BmpFile masked(int depth, uint32_t headerSize, bool topDown, const uint32_t (&masks)[3]) {
    BmpFile bmp = gdi_test::makeBmp(7, 5, depth, topDown, 11);
    bmp.info.resize(headerSize == 40 ? 52 : headerSize, 0);
    gdi_test::put32(bmp.info, 0, headerSize);
    gdi_test::put32(bmp.info, 16, BI_BITFIELDS);
    for (int i = 0; i < 3; ++i)
        gdi_test::put32(bmp.info, 40 + 4 * static_cast<size_t>(i), masks[i]);
    return rebuilt(bmp);
}

// What the file says pixel (x, y), top row first, is.
uint32_t storedPixel(const BmpFile& bmp, int x, int y) {
    gdi::DibLayout layout;
    EXPECT_TRUE(gdi::readDibLayout(bmp.info.data(), bmp.info.size(), gdi::TableRule::strict, 1, layout));
    return gdi::readLayoutPixel(layout, bmp.bits.data(), x, y);
}

// A 32-bit top-down bitmap in a memory context, filled with the sentinel, its pixels readable.
struct Canvas {
    Canvas(int w, int h) : width(w), height(h) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<uint32_t*>(bits);
        dc = CreateCompatibleDC(nullptr);
        previous = SelectObject(dc, bitmap);
        for (int i = 0; i < w * h; ++i)
            pixels[i] = sentinel;
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    uint32_t at(int x, int y) const { return pixels[y * width + x] & 0xFFFFFF; }

    int width, height;
    HBITMAP bitmap = nullptr;
    uint32_t* pixels = nullptr;
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
};

class BitmapSurfaceTest : public DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        screen = CreateCompatibleDC(nullptr);
        initSurface(surface);
        blocksBefore = emu::liveLocalBlocks();
    }
    void TearDown() override {
        resetSurface(surface);
        databaseProgram.current = nullptr;
        opened.reset();
        DeleteDC(screen);
        DeviceTest::TearDown();
    }

    // Writes an edition whose resource area holds `chunks`, lets `damage` change the file, and
    // opens it as the current database in place of the one before.
    void openWith(std::vector<EditionChunk> chunks, const std::function<void(DatabaseImage&)>& damage = {}) {
        resetSurface(surface);
        databaseProgram.current = nullptr;
        opened.reset();
        Edition edition = sampleEdition();
        edition.chunks = std::move(chunks);
        std::string error;
        ASSERT_EQ(writeEdition(edition, image, error), writeOk) << error;
        if (damage) damage(image);
        opened = std::make_unique<OpenedDatabase>(install(image, "pictures.ydb"));
        ASSERT_EQ((*opened)->lastError, 0);
        databaseProgram.current = opened->db;
    }
    void patch32(uint32_t at, uint32_t value) { ydb::storeU32(image.bytes.data() + at, value); }

    int32_t load(uint32_t n) { return loadPicture(surface, screen, n); }

    // Every pixel of the loaded picture, copied at (0, 0), is what the file stores.
    void expectPicture(const BmpFile& bmp, int width, int height) {
        ASSERT_EQ(pictureWidth(surface), width);
        ASSERT_EQ(pictureHeight(surface), height);
        Canvas canvas(width + 2, height + 2);
        copyPicture(surface, canvas.dc, 0, 0, static_cast<int16_t>(width), static_cast<int16_t>(height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(canvas.at(x, y), storedPixel(bmp, x, y)) << x << "," << y;
        EXPECT_EQ(canvas.at(width, 0), sentinel);
        EXPECT_EQ(canvas.at(0, height), sentinel);
    }

    HDC screen = nullptr;
    BitmapSurface surface{};
    DatabaseImage image;
    std::unique_ptr<OpenedDatabase> opened;
    size_t blocksBefore = 0;
};

TEST_F(BitmapSurfaceTest, PicturesAreCountedAmongPictureChunksOnly) {
    const BmpFile first = gdi_test::makeBmp(13, 7, 8, false, 1);
    const BmpFile second = gdi_test::makeBmp(5, 3, 24, false, 2);
    openWith({helpText(), picture(first), helpText(), picture(second)});

    ASSERT_EQ(load(0), pictureLoaded);
    EXPECT_EQ(surface.chunk.position, image.chunkOffsets[1]);
    expectPicture(first, 13, 7);
    ASSERT_EQ(load(1), pictureLoaded);
    EXPECT_EQ(surface.chunk.position, image.chunkOffsets[3]);
    expectPicture(second, 5, 3);

    EXPECT_EQ(load(2), pictureAreaEnded);
    EXPECT_FALSE(surfaceLoaded(surface));
    EXPECT_FALSE(surfaceFailed(surface));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(emu::liveLocalBlocks(), blocksBefore);
}

TEST_F(BitmapSurfaceTest, WithoutDatabaseOrPastABrokenChainNothingIsShown) {
    EXPECT_EQ(load(0), pictureNoDatabase);

    // A chunk claiming less than its own header would hold the walk in place; one claiming to
    // reach past 4 GB would wrap it back into the area.
    for (uint32_t size : {0u, 13u, 0xFFFFFFF0u}) {
        SCOPED_TRACE(size);
        openWith({helpText(), picture(gdi_test::makeBmp(2, 2, 24, false, 3))}, [&](DatabaseImage& file) {
            ydb::storeU32(file.bytes.data() + file.chunkOffsets[0] + 2, size);
        });
        EXPECT_EQ(load(0), pictureAreaEnded);
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(surfaceLoaded(surface));
}

struct DepthCase {
    int depth;
    bool topDown;
};

class EveryDepth : public BitmapSurfaceTest, public testing::WithParamInterface<DepthCase> {};

// 13 pixels leave every depth's rows padded; a chunk follows the picture, so rows looked for in the
// wrong place would not match.
TEST_P(EveryDepth, LoadsThePixelsAsStored) {
    const DepthCase c = GetParam();
    const BmpFile bmp = gdi_test::makeBmp(13, 7, c.depth, c.topDown, static_cast<uint32_t>(c.depth));
    openWith({picture(bmp), {ChunkKind::help, std::string(64, '\xAB')}});
    ASSERT_EQ(load(0), pictureLoaded);
    expectPicture(bmp, 13, 7);
}

INSTANTIATE_TEST_SUITE_P(Depths, EveryDepth,
                         testing::Values(DepthCase{1, false}, DepthCase{4, true}, DepthCase{8, false},
                                         DepthCase{8, true}, DepthCase{16, false}, DepthCase{24, true},
                                         DepthCase{32, false}),
                         [](const testing::TestParamInfo<DepthCase>& param) {
                             return std::to_string(param.param.depth) +
                                    (param.param.topDown ? "BitsTopDown" : "Bits");
                         });

TEST_F(BitmapSurfaceTest, ColourMasksLoadAfterTheHeaderAndInsideALargerOne) {
    const BmpFile rgb565 = masked(16, 40, false, {0xF800, 0x07E0, 0x001F});
    const BmpFile v5 = masked(32, 124, true, {0x000000FF, 0x0000FF00, 0x00FF0000});
    const BmpFile v4 = masked(16, 108, false, {0x7C00, 0x03E0, 0x001F});
    openWith({picture(rgb565), picture(v5), picture(v4)});
    for (uint32_t n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        ASSERT_EQ(load(n), pictureLoaded);
        expectPicture(n == 0 ? rgb565 : n == 1 ? v5 : v4, 7, 5);
    }
}

// The bytes of the picture's chunk that a case changes, by offset from the chunk's start.
struct Damage {
    const char* what;
    uint32_t at;
    uint32_t value;
    int width = 4; // bytes written
};

class HostileHeader : public BitmapSurfaceTest, public testing::WithParamInterface<Damage> {};

TEST_P(HostileHeader, IsRefusedBeforeAnythingIsMade) {
    const Damage d = GetParam();
    openWith({helpText(), picture(gdi_test::makeBmp(13, 7, 8, false, 5))}, [&](DatabaseImage& file) {
        uint8_t* at = file.bytes.data() + file.chunkOffsets[1] + d.at;
        if (d.width == 2)
            ydb::storeU16(at, static_cast<uint16_t>(d.value));
        else
            ydb::storeU32(at, d.value);
    });
    emu::failLocalAllocAbove(4096);
    EXPECT_EQ(load(0), pictureUnusable);
    EXPECT_EQ(damagedBoxes(), 1u);
    EXPECT_EQ(surface.bitmap, nullptr);
    EXPECT_FALSE(surfaceLoaded(surface));
    EXPECT_TRUE(surfaceFailed(surface));
    EXPECT_EQ(emu::liveLocalBlocks(), blocksBefore);
}

// The 8-bit picture is 13 x 7: header at 14, 256 colours at 54, rows (16 bytes each) at 1078.
INSTANTIATE_TEST_SUITE_P(
    Fields, HostileHeader,
    testing::Values(
        Damage{"width beyond 32 bits of pixels", 18, 0x7FFFFFFF}, Damage{"width 0", 18, 0},
        Damage{"width over 16 bits", 18, 40000}, Damage{"height over 16 bits", 22, 40000},
        Damage{"height INT_MIN", 22, 0x80000000u}, Damage{"height 0", 22, 0}, Damage{"bit count 0", 28, 0, 2},
        Damage{"bit count 7", 28, 7, 2}, Damage{"planes 2", 26, 2, 2}, Damage{"core header", 14, 12},
        Damage{"header of 64", 14, 64}, Damage{"header of 4 GB", 14, 0xFFFFFFFF},
        Damage{"run-length", 30, BI_RLE8}, Damage{"masks at 8 bits", 30, BI_BITFIELDS},
        Damage{"257 colours at 8 bits", 46, 257}, Damage{"pixel offset inside the header", 10, 20},
        Damage{"pixel offset inside the colour table", 10, 54 + 4 * 200},
        Damage{"pixel offset beyond the chunk", 10, 0xFFFFFFF0},
        Damage{"rows beyond the chunk", 2, 1078 + 16 * 7 - 1}, Damage{"chunk smaller than its header", 2, 3}),
    [](const testing::TestParamInfo<Damage>& param) {
        std::string name = param.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST_F(BitmapSurfaceTest, APictureOverTheMemoryBudgetIsRefusedWhateverItsChunkClaims) {
    // 8000 x 8000 at 8 bits is 64 MB of rows; the chunk is the last one and claims 2 GB.
    openWith({picture(gdi_test::makeBmp(4, 4, 8, false, 6))}, [&](DatabaseImage& file) {
        const uint32_t chunk = file.chunkOffsets[0];
        ydb::storeU32(file.bytes.data() + chunk + 2, 0x7FFFFFFF);
        ydb::storeU32(file.bytes.data() + chunk + 18, 8000);
        ydb::storeU32(file.bytes.data() + chunk + 22, 8000);
    });
    EXPECT_EQ(load(0), pictureUnusable);
    EXPECT_EQ(damagedBoxes(), 1u);

    // Within the budget the bitmap is made and the rows that exist are read: a cut picture.
    openWith({picture(gdi_test::makeBmp(4, 4, 8, false, 6))}, [&](DatabaseImage& file) {
        const uint32_t chunk = file.chunkOffsets[0];
        ydb::storeU32(file.bytes.data() + chunk + 2, 0x7FFFFFFF);
        ydb::storeU32(file.bytes.data() + chunk + 18, 4000);
        ydb::storeU32(file.bytes.data() + chunk + 22, 4000);
    });
    EXPECT_EQ(load(0), pictureShortPixels);
    EXPECT_EQ(pictureWidth(surface), 4000);
    EXPECT_NE(surface.bitmap, nullptr);
    EXPECT_EQ(damagedBoxes(), 2u);
}

TEST_F(BitmapSurfaceTest, AFileCutShortKeepsWhatThePictureHadSoFar) {
    const BmpFile bmp = gdi_test::makeBmp(13, 7, 8, false, 7);
    // Cut in the header: nothing was allocated.
    openWith({picture(bmp)}, [](DatabaseImage& file) { file.bytes.resize(file.chunkOffsets[0] + 14 + 30); });
    EXPECT_EQ(load(0), pictureShortInfo);
    EXPECT_FALSE(surfaceLoaded(surface));

    // Cut in the colour table: the bitmap info is kept until the next reset, but nothing draws.
    openWith({picture(bmp)},
             [](DatabaseImage& file) { file.bytes.resize(file.chunkOffsets[0] + 14 + 40 + 100); });
    EXPECT_EQ(load(0), pictureShortInfo);
    EXPECT_TRUE(surfaceLoaded(surface));
    EXPECT_EQ(surface.bitmap, nullptr);
    Canvas canvas(4, 4);
    copyPicture(surface, canvas.dc, 0, 0, 4, 4);
    stretchPicture(surface, canvas.dc, 0, 0, 4, 4, -1, -1, -1, -1);
    EXPECT_EQ(canvas.at(0, 0), sentinel);

    // Cut in the rows: the bitmap keeps the rows that arrived, the bottom four, stored first.
    openWith({picture(bmp)}, [](DatabaseImage& file) { file.bytes.resize(file.bytes.size() - 16 * 3); });
    EXPECT_EQ(load(0), pictureShortPixels);
    ASSERT_NE(surface.bitmap, nullptr);
    copyPicture(surface, canvas.dc, 0, 3, 4, 1);
    EXPECT_EQ(canvas.at(0, 0), storedPixel(bmp, 0, 3));

    EXPECT_EQ(damagedBoxes(), 3u);
    resetSurface(surface);
    EXPECT_EQ(emu::liveLocalBlocks(), blocksBefore);
}

// Every allocation and every read of a load failed in turn, each way the kernel can fail it.
TEST_F(BitmapSurfaceTest, EveryFailingCallGivesItsCodeAndLeavesNothingBehind) {
    openWith({helpText(), picture(gdi_test::makeBmp(13, 7, 8, false, 8))});
    emu::clearFaults();
    ASSERT_EQ(load(0), pictureLoaded);
    const emu::CallCounts counts = emu::callCounts();
    // Two chunk headers, the information header, the colour table, the rows.
    ASSERT_EQ(counts[emu::FailingCall::read], 5u);
    ASSERT_EQ(counts[emu::FailingCall::allocation], 1u);
    const int32_t expected[] = {pictureAreaEnded, pictureAreaEnded, pictureShortInfo, pictureShortInfo,
                                pictureShortPixels};

    const std::function<void(unsigned)> faults[] = {
        [](unsigned i) { emu::failReadFile(ERROR_READ_FAULT, i); },
        [](unsigned i) { emu::shortReadFile(1, i); },
        [](unsigned i) { emu::failSetFilePointer(1, ERROR_SEEK, i); },
    };
    for (const auto& fault : faults)
        for (unsigned i = 0; i < counts[emu::FailingCall::read]; ++i) {
            SCOPED_TRACE(i);
            boxes.clear();
            emu::clearFaults();
            fault(i);
            EXPECT_EQ(load(0), expected[i]);
            EXPECT_EQ(damagedBoxes(), expected[i] == pictureAreaEnded ? 0u : 1u);
            EXPECT_EQ(surfaceFailed(surface), expected[i] != pictureAreaEnded);
            resetSurface(surface);
            EXPECT_EQ(emu::liveLocalBlocks(), blocksBefore);
        }

    boxes.clear();
    emu::clearFaults();
    emu::failLocalAlloc(ERROR_NOT_ENOUGH_MEMORY, 0);
    EXPECT_EQ(load(0), pictureNoMemory);
    EXPECT_EQ(damagedBoxes(), 1u);
    EXPECT_FALSE(surfaceLoaded(surface));
    EXPECT_EQ(emu::liveLocalBlocks(), blocksBefore);

    // Afterwards the same picture loads again.
    emu::clearFaults();
    EXPECT_EQ(load(0), pictureLoaded);
}

TEST_F(BitmapSurfaceTest, ALoadReplacesThePictureAndAReleaseTwiceFreesOnce) {
    openWith({picture(gdi_test::makeBmp(3, 3, 8, false, 9)), picture(gdi_test::makeBmp(4, 2, 4, false, 10))});
    ASSERT_EQ(load(0), pictureLoaded);
    ASSERT_EQ(load(1), pictureLoaded);
    EXPECT_EQ(pictureWidth(surface), 4);
    EXPECT_EQ(emu::liveLocalBlocks(), blocksBefore + 1);
    releaseSurface(surface);
    releaseSurface(surface);
    EXPECT_EQ(emu::liveLocalBlocks(), blocksBefore);
    EXPECT_FALSE(surfaceLoaded(surface));
    EXPECT_EQ(surface.chunk.position, image.chunkOffsets[1]);
    resetSurface(surface);
    EXPECT_EQ(surface.chunk.position, 0u);
}

TEST_F(BitmapSurfaceTest, ASourcePointOutsideThePictureCopiesFromItsOrigin) {
    const BmpFile bmp = gdi_test::makeBmp(6, 4, 24, false, 12);
    openWith({picture(bmp)});
    ASSERT_EQ(load(0), pictureLoaded);
    Canvas canvas(3, 2);
    for (auto [x, y] : {std::pair{6, 0}, std::pair{0, 4}, std::pair{100, 100}}) {
        SCOPED_TRACE(testing::Message() << x << "," << y);
        copyPicture(surface, canvas.dc, x, y, 3, 2);
        EXPECT_EQ(canvas.at(0, 0), storedPixel(bmp, 0, 0));
        EXPECT_EQ(canvas.at(2, 1), storedPixel(bmp, 2, 1));
    }
    // Inside the picture the point is kept.
    copyPicture(surface, canvas.dc, 5, 3, 1, 1);
    EXPECT_EQ(canvas.at(0, 0), storedPixel(bmp, 5, 3));
    // Stretching substitutes a negative point too.
    stretchPicture(surface, canvas.dc, 0, 0, 1, 1, -4, -1, 1, 1);
    EXPECT_EQ(canvas.at(0, 0), storedPixel(bmp, 0, 0));
}

TEST_F(BitmapSurfaceTest, StretchWithNaturalSizesDrawsThePictureWideAtItsOwnHeight) {
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown);
        const BmpFile bmp = gdi_test::makeBmp(5, 3, 8, topDown, 13);
        openWith({picture(bmp)});
        ASSERT_EQ(load(0), pictureLoaded);
        Canvas canvas(14, 6);
        stretchPicture(surface, canvas.dc, 2, 1, 10, -1, -1, -1, -1, -1);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(canvas.at(2 + x, 1 + y), storedPixel(bmp, x / 2, y)) << x << "," << y;
        EXPECT_EQ(canvas.at(2, 4), sentinel);
        EXPECT_EQ(canvas.at(12, 1), sentinel);
        EXPECT_EQ(canvas.at(1, 1), sentinel);
    }
}

TEST_F(BitmapSurfaceTest, AnUnloadedSurfaceDrawsNothing) {
    Canvas canvas(4, 4);
    copyPicture(surface, canvas.dc, 0, 0, 4, 4);
    stretchPicture(surface, canvas.dc, 0, 0, -1, -1, -1, -1, -1, -1);
    EXPECT_EQ(canvas.at(0, 0), sentinel);
    EXPECT_EQ(surface.drawingContext, nullptr);
    EXPECT_EQ(pictureWidth(surface), 0);
}

// The fuzz target's corpus: sound areas load, malformed ones fail without breaking an invariant.
TEST(PictureCorpus, EveryAreaLoadsOrFailsCleanly) {
    const std::string root = testing::TempDir() + "picture-corpus-" + std::to_string(::getpid());
    std::filesystem::create_directories(root);
    ASSERT_TRUE(preparePictureExercise(root));
    const size_t files =
        forEachCorpusFile(DIR_PICTURE_CORPUS, [](const std::string& name, const std::string& bytes) {
            const int loaded = exercisePictures(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            if (name.starts_with("sound-")) {
                EXPECT_GE(loaded, 1);
            }
        });
    EXPECT_GE(files, 10u);
    emu::setMessageBoxHandler({});
    std::filesystem::remove_all(root);
}

} // namespace
