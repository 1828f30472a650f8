#include "platform/host/options.h"

#include <charconv>
#include <string_view>
#include <utility>

namespace host {

namespace {

constexpr int smallestSide = 64;
constexpr int largestSide = 4096;

bool readNumber(std::string_view text, uint64_t& value)
{
    if (text.empty()) return false;
    const auto [end, result] = std::from_chars(text.data(), text.data() + text.size(), value);
    return result == std::errc() && end == text.data() + text.size();
}

bool readSide(std::string_view text, int& side)
{
    uint64_t value = 0;
    if (!readNumber(text, value) || value < smallestSide || value > largestSide) return false;
    side = static_cast<int>(value);
    return true;
}

// "240x320".
bool readSize(std::string_view text, int& width, int& height)
{
    const size_t cross = text.find('x');
    return cross != std::string_view::npos && readSide(text.substr(0, cross), width) &&
           readSide(text.substr(cross + 1), height);
}

// Bytes, or with K, M or G (binary multiples); at most what the device's 32-bit figures hold.
bool readBytes(std::string_view text, uint64_t& bytes)
{
    uint64_t multiple = 1;
    if (!text.empty()) {
        switch (text.back()) {
        case 'K': case 'k': multiple = 1024; break;
        case 'M': case 'm': multiple = 1024 * 1024; break;
        case 'G': case 'g': multiple = 1024 * 1024 * 1024; break;
        default: break;
        }
        if (multiple != 1) text.remove_suffix(1);
    }
    uint64_t value = 0;
    if (!readNumber(text, value) || value == 0 || value > 0xFFFFFFFFull / multiple) return false;
    bytes = value * multiple;
    return true;
}

}  // namespace

int parseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error, DeviceKind kind)
{
    options = HostOptions();
    bool landscape = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument.substr(0, 2) != "--") {
            error = "unexpected argument '" + std::string(argument) + "': the program takes no arguments of its own";
            return 1;
        }
        std::string_view name = argument;
        std::string_view value;
        bool hasValue = false;
        if (const size_t equals = argument.find('='); equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasValue) return true;
            if (i + 1 >= argc) {
                error = std::string(name) + " needs a value";
                return false;
            }
            value = argv[++i];
            hasValue = true;
            return true;
        };
        auto flag = [&](bool& target) -> bool {
            if (hasValue) {
                error = std::string(name) + " takes no value";
                return false;
            }
            target = true;
            return true;
        };
        auto bad = [&](const char* expected) {
            error = std::string(name) + ": '" + std::string(value) + "' is not " + expected;
            return 1;
        };

        if (name == "--help") {
            if (!flag(options.helpWanted)) return 1;
        } else if (name == "--headless") {
            if (!flag(options.headless)) return 1;
        } else if (name == "--landscape") {
            if (!flag(landscape)) return 1;
        } else if (name == "--phone" && kind == DeviceKind::handheld) {
            if (!flag(options.phone)) return 1;
        } else if (name == "--device") {
            if (!takeValue()) return 1;
            if (value.empty()) return bad("a folder");
            options.deviceFolder = value;
        } else if (name == "--module") {
            if (!takeValue()) return 1;
            if (value.empty() || (value.front() != '\\' && value.front() != '/')) return bad("a device path such as \\Windows\\app.exe");
            options.moduleName = value;
        } else if (name == "--size") {
            if (!takeValue()) return 1;
            if (!readSize(value, options.width, options.height)) return bad("a screen size WIDTHxHEIGHT of 64 to 4096 pixels a side");
            options.sizeGiven = true;
        } else if (name == "--scale") {
            if (!takeValue()) return 1;
            if (value == "1") options.scale = 1;
            else if (value == "2") options.scale = 2;
            else return bad("1 or 2");
        } else if (name == "--script") {
            if (!takeValue()) return 1;
            if (value.empty()) return bad("a file");
            options.scriptFile = value;
        } else if (name == "--screenshots") {
            if (!takeValue()) return 1;
            if (value.empty()) return bad("a folder");
            options.screenshotFolder = value;
        } else if (name == "--free-memory") {
            if (!takeValue()) return 1;
            if (!readBytes(value, options.freeMemory)) return bad("a number of bytes from 1 to 4294967295 (K, M, G allowed)");
            options.freeMemorySet = true;
        } else if (name == "--timeout") {
            if (!takeValue()) return 1;
            uint64_t seconds = 0;
            if (!readNumber(value, seconds) || seconds == 0 || seconds > 3600) return bad("a number of seconds from 1 to 3600");
            options.timeoutSeconds = static_cast<int>(seconds);
        } else {
            error = "unknown option '" + std::string(name) + "' (--help lists them)";
            return 1;
        }
    }
    // The size is given as the device stands upright; landscape turns it.
    if (landscape && options.width < options.height) std::swap(options.width, options.height);
    return 0;
}

std::string hostUsage(const std::string& programName, DeviceKind kind)
{
    const bool handheld = kind == DeviceKind::handheld;
    std::string text = "usage: " + programName +
                       " [options]\n"
                       "  --device FOLDER      host folder that is the device's \\ (default: the build's device folder)\n"
                       "  --module PATH        the program's own device path (default: \\<program>.exe)\n";
    text += handheld ? "  --size WxH           screen size held upright (default 240x320)\n"
                       "  --landscape          turn the screen on its side (320x240)\n"
                     : "  --size WxH           the desktop's screen size (default 1024x768)\n"
                       "  --landscape          the screen on its side (the wider side across)\n";
    text += "  --scale 1|2          window pixels per screen pixel\n"
            "  --headless           no window; ends when the program is idle, or runs --script\n"
            "  --script FILE        drive the program with a script of taps, keys and checks\n"
            "  --screenshots DIR    where F12 and the script's screenshots go (default: the current folder)\n"
            "  --free-memory BYTES  the device's free physical memory (K, M, G allowed)\n";
    if (handheld) text += "  --phone              a phone device: phone.dll is present\n";
    text += "  --timeout SECONDS    a headless run ends after this long (default 30)\n";
    return text;
}

}  // namespace host
