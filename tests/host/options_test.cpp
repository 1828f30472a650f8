#include "platform/host/options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

using ::testing::HasSubstr;

namespace {

struct Parsed {
    int result;
    host::HostOptions options;
    std::string error;
};

Parsed parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "dernolo");
    Parsed parsed;
    parsed.result = host::parseHostOptions(static_cast<int>(arguments.size()), arguments.data(), parsed.options, parsed.error);
    return parsed;
}

TEST(HostOptions, DefaultsAreThePortraitDeviceWithAWindow) {
    const Parsed parsed = parse({});
    ASSERT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.options.width, 240);
    EXPECT_EQ(parsed.options.height, 320);
    EXPECT_EQ(parsed.options.scale, 1);
    EXPECT_FALSE(parsed.options.headless);
    EXPECT_FALSE(parsed.options.freeMemorySet);
    EXPECT_TRUE(parsed.options.deviceFolder.empty());
}

TEST(HostOptions, EveryOptionInBothSpellings) {
    const Parsed parsed = parse({"--device", "/tmp/dev", "--landscape", "--scale=2", "--headless", "--script", "a.txt",
                                 "--screenshots=shots", "--free-memory", "6M", "--phone", "--module=\\Windows\\x.exe",
                                 "--timeout", "5"});
    ASSERT_EQ(parsed.result, 0) << parsed.error;
    EXPECT_EQ(parsed.options.deviceFolder, "/tmp/dev");
    EXPECT_EQ(parsed.options.width, 320);
    EXPECT_EQ(parsed.options.height, 240);
    EXPECT_EQ(parsed.options.scale, 2);
    EXPECT_TRUE(parsed.options.headless);
    EXPECT_EQ(parsed.options.scriptFile, "a.txt");
    EXPECT_EQ(parsed.options.screenshotFolder, "shots");
    EXPECT_TRUE(parsed.options.freeMemorySet);
    EXPECT_EQ(parsed.options.freeMemory, 6u * 1024 * 1024);
    EXPECT_TRUE(parsed.options.phone);
    EXPECT_EQ(parsed.options.moduleName, "\\Windows\\x.exe");
    EXPECT_EQ(parsed.options.timeoutSeconds, 5);
}

TEST(HostOptions, LandscapeTurnsAnUprightSizeOnlyOnce) {
    EXPECT_EQ(parse({"--size", "480x640", "--landscape"}).options.width, 640);
    EXPECT_EQ(parse({"--landscape", "--size", "640x480"}).options.width, 640);
    EXPECT_EQ(parse({"--size", "640x480"}).options.height, 480);
}

// Only a size the run asks for holds for a desktop program; without one it gets a desktop's screen.
TEST(HostOptions, ASizeGivenIsToldApartFromTheDefault) {
    EXPECT_FALSE(parse({}).options.sizeGiven);
    EXPECT_FALSE(parse({"--landscape"}).options.sizeGiven);
    EXPECT_TRUE(parse({"--size", "240x320"}).options.sizeGiven);
    EXPECT_TRUE(parse({"--size=800x600"}).options.sizeGiven);
}

TEST(HostOptions, BadValuesAreRejectedNamingTheOption) {
    struct Case {
        std::vector<const char*> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{"--scale", "3"}, "--scale: '3' is not 1 or 2"},
        {{"--scale"}, "--scale needs a value"},
        {{"--size", "240"}, "--size: '240'"},
        {{"--size", "240x-320"}, "--size: '240x-320'"},
        {{"--size", "10x10"}, "--size: '10x10'"},
        {{"--size", "240x320x2"}, "--size"},
        {{"--free-memory", "0"}, "--free-memory: '0'"},
        {{"--free-memory", "5G"}, "--free-memory: '5G'"},
        {{"--free-memory", "4294967296"}, "--free-memory"},
        {{"--free-memory", "12q"}, "--free-memory"},
        {{"--free-memory", " 12"}, "--free-memory"},
        {{"--headless=yes"}, "--headless takes no value"},
        {{"--module", "Windows\\x.exe"}, "--module"},
        {{"--timeout", "0"}, "--timeout"},
        {{"--colour"}, "unknown option '--colour'"},
        {{"file.ydb"}, "takes no arguments"},
        {{"--device="}, "--device"},
    };
    for (const Case& c : cases) {
        const Parsed parsed = parse(c.arguments);
        EXPECT_EQ(parsed.result, 1) << c.message;
        EXPECT_THAT(parsed.error, HasSubstr(c.message));
    }
}

TEST(HostOptions, LargestFreeMemoryFitsTheDevicesFigures) {
    const Parsed parsed = parse({"--free-memory", "4294967295"});
    ASSERT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.options.freeMemory, 4294967295u);
    EXPECT_EQ(parse({"--free-memory=3G"}).options.freeMemory, 3ull << 30);
}

}  // namespace

namespace {

// Each program lists its own options: the launcher is no handheld and has no telephone.
TEST(HostOptions, EachKindOfProgramListsItsOwnOptions) {
    const std::string handheld = host::hostUsage("Dernolo", host::DeviceKind::handheld);
    const std::string desktop = host::hostUsage("Vantory", host::DeviceKind::desktop);
    EXPECT_THAT(handheld, HasSubstr("default 240x320"));
    EXPECT_THAT(handheld, HasSubstr("--phone"));
    EXPECT_THAT(desktop, HasSubstr("default 1024x768"));
    EXPECT_EQ(desktop.find("240x320"), std::string::npos);
    EXPECT_EQ(desktop.find("--phone"), std::string::npos);

    const char* arguments[] = {"Vantory", "--phone"};
    host::HostOptions options;
    std::string error;
    EXPECT_EQ(host::parseHostOptions(2, arguments, options, error, host::DeviceKind::desktop), 1);
    EXPECT_THAT(error, HasSubstr("unknown option '--phone'"));
}

}  // namespace
