// Local memory blocks, the memory status and its device-profile override, and SHCloseApps.
#include "ce.h"
#include "emulator.h"
#include "win32.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

class Memory : public ::testing::Test {
protected:
    void SetUp() override {
        emu::clearFaults();
        emu::useHostMemory();
        emu::clearJournal();
        blocksBefore = emu::liveLocalBlocks();
    }
    void TearDown() override {
        emu::clearFaults();
        emu::useHostMemory();
        EXPECT_EQ(emu::liveLocalBlocks(), blocksBefore);
    }
    size_t blocksBefore = 0;
};

TEST_F(Memory, UsableSizeIsTheRequestRoundedUpToSixteen) {
    for (const auto& [asked, usable] : {std::pair<SIZE_T, SIZE_T>{0, 16}, {1, 16}, {16, 16}, {17, 32}, {1000, 1008}}) {
        HLOCAL block = LocalAlloc(LMEM_FIXED, asked);
        ASSERT_NE(block, nullptr) << asked;
        EXPECT_EQ(LocalSize(block), usable) << asked;
        EXPECT_EQ(LocalFree(block), nullptr);
    }
}

TEST_F(Memory, ZeroInitClearsTheWholeUsableBlock) {
    auto* block = static_cast<unsigned char*>(LocalAlloc(LPTR, 20));
    ASSERT_NE(block, nullptr);
    for (SIZE_T i = 0; i < LocalSize(block); ++i) EXPECT_EQ(block[i], 0) << i;
    EXPECT_EQ(emu::liveLocalBlocks(), blocksBefore + 1);
    LocalFree(block);
}

TEST_F(Memory, MoveableBlocksAndUnknownFlagsAreRefused) {
    SetLastError(0);
    EXPECT_EQ(LocalAlloc(LMEM_MOVEABLE, 10), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(LocalAlloc(0x8000, 10), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

TEST_F(Memory, PointersThatAreNoBlockAreAnsweredNotFollowed) {
    int local = 0;
    SetLastError(0);
    EXPECT_EQ(LocalSize(&local), 0u);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    SetLastError(0);
    EXPECT_EQ(LocalFree(&local), static_cast<HLOCAL>(&local));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    EXPECT_EQ(LocalFree(nullptr), nullptr);
    HLOCAL block = LocalAlloc(LMEM_FIXED, 8);
    ASSERT_EQ(LocalFree(block), nullptr);
    EXPECT_EQ(LocalFree(block), block);  // freed twice: refused
    EXPECT_EQ(LocalSize(block), 0u);
    EXPECT_EQ(LocalReAlloc(block, 8, 0), nullptr);
}

TEST_F(Memory, ReAllocShrinksInPlaceAndGrowsOnlyWhenItMayMove) {
    auto* block = static_cast<char*>(LocalAlloc(LMEM_FIXED, 64));
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "keep this", 10);
    EXPECT_EQ(LocalReAlloc(block, 20, 0), block);
    EXPECT_EQ(LocalSize(block), 32u);
    EXPECT_EQ(LocalReAlloc(block, 4096, 0), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NOT_ENOUGH_MEMORY});
    auto* grown = static_cast<char*>(LocalReAlloc(block, 4096, LMEM_MOVEABLE | LMEM_ZEROINIT));
    ASSERT_NE(grown, nullptr);
    EXPECT_STREQ(grown, "keep this");
    EXPECT_EQ(LocalSize(grown), 4096u);
    EXPECT_EQ(grown[4095], 0);
    LocalFree(grown);
}

TEST_F(Memory, PlannedAllocationFailures) {
    emu::failLocalAlloc(ERROR_OUTOFMEMORY, 1);
    HLOCAL first = LocalAlloc(LMEM_FIXED, 8);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(LocalAlloc(LMEM_FIXED, 8), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_OUTOFMEMORY});
    HLOCAL third = LocalAlloc(LMEM_FIXED, 8);
    EXPECT_NE(third, nullptr);
    LocalFree(first);
    LocalFree(third);

    emu::failLocalAllocAbove(1000);
    HLOCAL small = LocalAlloc(LMEM_FIXED, 1000);
    EXPECT_NE(small, nullptr);
    EXPECT_EQ(LocalAlloc(LMEM_FIXED, 1001), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NOT_ENOUGH_MEMORY});
    LocalFree(small);
    emu::clearFaults();
    HLOCAL big = LocalAlloc(LMEM_FIXED, 1001);
    EXPECT_NE(big, nullptr);
    LocalFree(big);
    EXPECT_EQ(LocalAlloc(LMEM_FIXED, SIZE_T{1} << 40), nullptr);  // beyond any device
}

TEST_F(Memory, StatusComesFromTheHostUnlessAProfileSetsIt) {
    MEMORYSTATUS status;
    std::memset(&status, 0xAB, sizeof status);
    GlobalMemoryStatus(&status);
    EXPECT_EQ(status.dwLength, sizeof status);
    EXPECT_GT(status.dwTotalPhys, 0u);
    EXPECT_GT(status.dwAvailPhys, 0u);
    EXPECT_LE(status.dwAvailPhys, status.dwTotalPhys);
    EXPECT_EQ(status.dwTotalPageFile, 0u);
    EXPECT_EQ(status.dwTotalVirtual, 32u << 20);

    emu::setAvailablePhysicalMemory(5000000);
    emu::setReclaimableMemory(1000000);
    GlobalMemoryStatus(&status);
    EXPECT_EQ(status.dwAvailPhys, 5000000u);
    EXPECT_EQ(status.dwTotalPhys, 6000000u);

    emu::setAvailablePhysicalMemory(uint64_t{8} << 30);  // capped to what 32 bits hold
    GlobalMemoryStatus(&status);
    EXPECT_EQ(status.dwAvailPhys, 0xFFFFFFFFu);

    emu::useHostMemory();
    GlobalMemoryStatus(&status);
    EXPECT_NE(status.dwAvailPhys, 0xFFFFFFFFu - 1);
    EXPECT_NE(status.dwTotalPhys, 6000000u);
}

TEST_F(Memory, CloseAppsFreesTheProfilesReclaimableMemory) {
    emu::setAvailablePhysicalMemory(1000000);
    emu::setReclaimableMemory(5000000);
    EXPECT_TRUE(SHCloseApps(4120576));
    MEMORYSTATUS status;
    GlobalMemoryStatus(&status);
    EXPECT_EQ(status.dwAvailPhys, 4120576u);
    ASSERT_EQ(emu::journal().size(), 1u);
    EXPECT_EQ(emu::journal()[0], "SHCloseApps 4120576");

    // Enough free already: nothing to close, nothing journalled.
    EXPECT_TRUE(SHCloseApps(4000000));
    EXPECT_EQ(emu::journal().size(), 1u);

    // Not enough to reclaim: what can be freed is, and the answer is no.
    emu::setAvailablePhysicalMemory(1000000);
    emu::setReclaimableMemory(100);
    EXPECT_FALSE(SHCloseApps(4120576));
    GlobalMemoryStatus(&status);
    EXPECT_EQ(status.dwAvailPhys, 1000100u);
}

}  // namespace
