// A scratch host folder as the device root of one test, removed afterwards.
#pragma once

#include "emulator.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

class DeviceFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "kernel-device-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        ASSERT_EQ(emu::setDeviceRoot(root.string()), 0);
        emu::clearFaults();
        SetLastError(0);
    }

    void TearDown() override {
        emu::clearFaults();
        std::error_code ignored;
        std::filesystem::permissions(root, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(root, ignored);
    }

    // Writes a host file below the root (folders made as needed); `relative` is UTF-8.
    std::filesystem::path hostFile(const std::string& relative, const std::string& content = {}) {
        const std::filesystem::path path = root / std::filesystem::u8path(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    std::string readHost(const std::string& relative) {
        std::ifstream in(root / std::filesystem::u8path(relative), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path root;
};
