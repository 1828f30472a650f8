#include "platform/host/host_main.h"

#include "emulator.h"
#include "win32/controls.h"
#include "platform/gdi/faces.h"
#include "platform/gdi/screen.h"
#include "platform/host/headless.h"
#include "platform/host/host_services.h"
#include "platform/host/options.h"
#include "platform/host/phone.h"
#include "platform/host/sdl_presenter.h"
#include "platform/shell/shell.h"
#include "platform/testing/script.h"
#include "platform/testing/windows.h"
#include "platform/ui/foreign_windows.h"
#include "platform/ui/input.h"
#include "platform/ui/window_manager.h"

#include <cstdio>
#include <filesystem>

#ifndef HOST_BUILD_DEVICE
#define HOST_BUILD_DEVICE "device"
#endif

namespace host {

namespace {

constexpr int desktopScreenWidth = 1024;
constexpr int desktopScreenHeight = 768;

namespace fs = std::filesystem;

fs::path ownPath(const char* argv0)
{
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::absolute(argv0, error) : self;
}

// The device beside the program, or one level up (the build's layout), else the build's own.
std::string defaultDeviceFolder(const fs::path& program)
{
    std::error_code error;
    for (const fs::path& candidate : {program.parent_path() / "device", program.parent_path().parent_path() / "device"}) {
        if (fs::is_directory(candidate, error)) return candidate.string();
    }
    fs::create_directories(HOST_BUILD_DEVICE, error);
    return HOST_BUILD_DEVICE;
}

int complain(const std::string& program, const std::string& message)
{
    std::fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str());
    return 2;
}

InputSink windowManagerSink(bool handheld)
{
    InputSink sink;
    sink.stylusDown = ui::stylusDown;
    sink.stylusMove = ui::stylusMove;
    sink.stylusUp = ui::stylusUp;
    sink.keyDown = ui::keyDown;
    sink.keyUp = ui::keyUp;
    sink.character = ui::character;
    sink.waitCursorShown = ui::waitCursorShown;
    // On the device the shell follows a turn of the screen and tells the programs.
    if (handheld) sink.screenTurned = shell::screenTurned;
    return sink;
}

bool windowExists(std::u16string_view windowClass, std::u16string_view caption)
{
    return driver::findWindow(windowClass, caption) != nullptr;
}

}  // namespace

int runHostProgram(int argc, char** argv, const ProgramEntry& entry)
{
    const fs::path program = ownPath(argc > 0 ? argv[0] : "program");
    const std::string name = program.stem().string();
    HostOptions options;
    std::string error;
    const DeviceKind kind = entry.handheld ? DeviceKind::handheld : DeviceKind::desktop;
    if (parseHostOptions(argc, argv, options, error, kind) != 0) return complain(name, error);
    if (options.helpWanted) {
        std::fputs(hostUsage(name, kind).c_str(), stdout);
        return 0;
    }

    const std::string device = options.deviceFolder.empty() ? defaultDeviceFolder(program) : options.deviceFolder;
    if (emu::setDeviceRoot(device) != 0) return complain(name, "the device folder " + device + " does not exist");
    emu::setModuleFileName(emu::fromUtf8(options.moduleName.empty() ? "\\" + name + ".exe" : options.moduleName));
    if (options.freeMemorySet) emu::setAvailablePhysicalMemory(options.freeMemory);
    if (options.phone) installPhoneProfile();
    // A desktop program's screen is a desktop's unless the run asks for another.
    if (!entry.handheld && !options.sizeGiven) {
        options.width = desktopScreenWidth;
        options.height = desktopScreenHeight;
    }
    gdi::resizeScreen(options.width, options.height);
    ui::setCaptionStrips(!entry.handheld);
    gdi::setDeviceLook(entry.handheld ? gdi::DeviceLook::handheld : gdi::DeviceLook::desktop);
    // What the device has before any program runs: its standard window classes, and on the
    // handheld the shell's task bar strip and input panel.
    registerStandardControls();
    if (entry.handheld) shell::startShell();

    driver::Script script;
    if (!options.scriptFile.empty() && driver::readScriptFile(options.scriptFile, script, error) != 0)
        return complain(name, error);

    const bool window = !options.headless;
    if (window) {
        PresenterSettings settings;
        settings.scale = options.scale;
        settings.screenshotFolder = options.screenshotFolder.empty() ? "." : options.screenshotFolder;
        settings.title = name;
        if (openSdlPresenter(settings, windowManagerSink(entry.handheld), error) != 0)
            return complain(name, error + "; run with --headless to run the program without a window");
    }
    // A run with a window carries starts out; a headless one only writes them down.
    setLaunchMode(window ? LaunchMode::Launch : LaunchMode::Journal);
    ui::setPresenterActive(window);
    const auto runProgram = [&entry, &name] {
        ui::programStarting();
        const int code = entry.winMain(emu::programInstance());
        // A program that only raised its other copy ends without a word of its own.
        if (!ui::anotherCopyRaised().empty())
            std::fprintf(stderr, "%s: another copy of the program is running on this device; it was brought to the front\n",
                         name.c_str());
        return code;
    };

    int exitCode = 0;
    if (!options.scriptFile.empty()) {
        driver::ScriptSettings settings;
        settings.screenshotFolder = options.screenshotFolder.empty() ? "." : options.screenshotFolder;
        settings.windowExists = windowExists;
        settings.dumpWindows = driver::dumpWindows;
        settings.scenario.watchdogSeconds = options.timeoutSeconds;
        if (window) {
            settings.scenario.onIdle = [] {
                showScreen();
                return drainSdlEvents();
            };
        }
        const driver::ScriptOutcome outcome = driver::runScript(script, runProgram, settings);
        exitCode = outcome.exitCode;
        if (!outcome.error.empty()) {
            std::fprintf(stderr, "%s: %s\n", options.scriptFile.c_str(), outcome.error.c_str());
            exitCode = 1;
        }
    } else if (window) {
        const ui::IdleHandler previous = ui::setIdleHandler(sdlIdle);
        exitCode = runProgram();
        ui::setIdleHandler(previous);
    } else {
        startHeadless(options.timeoutSeconds);
        const ui::IdleHandler previous = ui::setIdleHandler(headlessIdle);
        exitCode = runProgram();
        ui::setIdleHandler(previous);
    }
    if (entry.handheld) shell::stopShell();
    if (window) closeSdlPresenter();
    ui::setPresenterActive(false);
    return exitCode;
}

}  // namespace host
