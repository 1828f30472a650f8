// The emulator's command line: which device, which screen, which presenter. The program itself
// takes no arguments.
#pragma once

#include <cstdint>
#include <string>

namespace host {

struct HostOptions {
    std::string deviceFolder;  // empty: the build's device folder
    std::string moduleName;    // the program's device path; empty: "\<program>.exe"
    int width = 240;           // of the screen as the device holds it (after --landscape)
    int height = 320;
    bool sizeGiven = false;    // --size was given; otherwise a desktop program gets a desktop's screen
    int scale = 1;
    bool headless = false;
    std::string scriptFile;
    std::string screenshotFolder;  // empty: the current folder
    bool freeMemorySet = false;
    uint64_t freeMemory = 0;
    bool phone = false;
    int timeoutSeconds = 30;  // headless runs end after this long whatever the program does
    bool helpWanted = false;
};

// Which device the program runs on: the handheld (a 240x320 screen, a phone profile) or the desktop.
enum class DeviceKind { handheld, desktop };

// 0 with the options filled, or 1 with a message naming the option and what is wrong with it.
// Options may be written "--name value" or "--name=value". A desktop program has no --phone.
int parseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error,
                     DeviceKind kind = DeviceKind::handheld);
// The options of a program of this kind, with its own defaults.
std::string hostUsage(const std::string& programName, DeviceKind kind = DeviceKind::handheld);

}  // namespace host
