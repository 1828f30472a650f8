// Running a script as the body of a scenario.
#include "platform/testing/script.h"

#include "emulator.h"
#include "platform/gdi/png_writer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace driver {

namespace {

std::string quoted(std::u16string_view first, bool hasSecond, std::u16string_view second)
{
    std::string text = "\"" + emu::toUtf8(first);
    if (hasSecond) text += "|" + emu::toUtf8(second);
    return text + "\"";
}

std::string iconText(UINT icon)
{
    switch (icon) {
    case 0: return "none";
    case MB_ICONQUESTION: return "MB_ICONQUESTION";
    case MB_ICONEXCLAMATION: return "MB_ICONEXCLAMATION";
    case MB_ICONINFORMATION: return "MB_ICONINFORMATION";
    case MB_ICONSTOP: return "MB_ICONSTOP";
    default: return "0x" + [icon] {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", icon);
        return std::string(hex);
    }();
    }
}

// Where screenshots and dumps go. The folder is made on demand, as --screenshots names one that
// need not exist yet.
std::string pathInFolder(const ScriptSettings& settings, const std::string& name)
{
    std::error_code ignored;
    std::filesystem::create_directories(settings.screenshotFolder, ignored);
    return (std::filesystem::path(settings.screenshotFolder) / name).string();
}

// One command; a failure is reported through the scenario and returns -1.
int runCommand(const ScriptCommand& command, const ScriptSettings& settings)
{
    switch (command.kind) {
    case CommandKind::Tap: return tap(command.numbers[0], command.numbers[1]);
    case CommandKind::Drag:
        return drag(command.numbers[0], command.numbers[1], command.numbers[2], command.numbers[3]);
    case CommandKind::Key: {
        std::vector<UINT> modifiers(command.keys.begin(), command.keys.end() - 1);
        return pressKey(command.keys.back(), modifiers);
    }
    case CommandKind::Type: return typeText(command.text);
    case CommandKind::WaitIdle: return waitIdle();
    case CommandKind::Sleep: return sleepFor(command.numbers[0]);
    case CommandKind::Quit: return quitProgram();
    case CommandKind::Answer: return answerBox(command.numbers[0]);
    case CommandKind::ExpectBox: {
        const std::optional<BoxRecord> box = openBox();
        const std::string expected = quoted(command.text, command.hasDetail, command.detail);
        if (!box) {
            fail("expected a message box " + expected + ", none is open");
            return -1;
        }
        if (box->caption != command.text || (!command.detail.empty() && box->text != command.detail)) {
            fail("expected a message box " + expected + ", found " + quoted(box->caption, true, box->text));
            return -1;
        }
        const UINT icon = box->style & MB_ICONMASK;
        if (command.hasIcon && icon != command.icon) {
            fail("expected a message box " + expected + " with icon " + iconText(command.icon) + ", it has " +
                 iconText(icon));
            return -1;
        }
        return 0;
    }
    case CommandKind::ExpectWindow: {
        const std::string expected = quoted(command.text, command.hasDetail, command.detail);
        if (!settings.windowExists) {
            fail("expect-window " + expected + ": windows cannot be looked up in this run");
            return -1;
        }
        if (!settings.windowExists(command.text, command.detail)) {
            fail("expected a window " + expected + ", there is none");
            return -1;
        }
        return 0;
    }
    case CommandKind::ExpectJournal: {
        const std::string expected = emu::toUtf8(command.text);
        const std::vector<std::string> lines = emu::journal();
        if (std::find(lines.begin(), lines.end(), expected) != lines.end()) return 0;
        fail("expected the journal line \"" + expected + "\", the journal " +
             (lines.empty() ? std::string("is empty") : "ends with \"" + lines.back() + "\""));
        return -1;
    }
    case CommandKind::WaitJournal: {
        // The program runs in slices between the looks at its journal.
        constexpr int sliceMs = 50;
        const std::string expected = emu::toUtf8(command.text);
        auto times = [&expected] {
            const std::vector<std::string> lines = emu::journal();
            return std::count(lines.begin(), lines.end(), expected);
        };
        const auto before = times();
        for (int waited = 0;; waited += sliceMs) {
            if (times() > before) return 0;
            if (waited >= command.numbers[0]) break;
            if (sleepFor(sliceMs) != 0) return -1;
        }
        fail("no new journal line \"" + expected + "\" within " + std::to_string(command.numbers[0]) + " ms");
        return -1;
    }
    case CommandKind::Screenshot: {
        const std::string path = pathInFolder(settings, command.name);
        if (saveScreen(path) != 0) {
            fail("screenshot: cannot write " + path);
            return -1;
        }
        return 0;
    }
    case CommandKind::Dump: {
        if (!settings.dumpWindows) {
            fail("dump: windows cannot be read in this run");
            return -1;
        }
        const std::string path = pathInFolder(settings, command.name);
        if (writeDump(settings.dumpWindows(), path) != 0) {
            fail("dump: cannot write " + path);
            return -1;
        }
        return 0;
    }
    }
    return -1;
}

}  // namespace

int saveScreen(const std::string& path) { return gdi::savePng(gdi::screen(), path) ? 0 : -1; }

ScriptOutcome runScript(const Script& script, const ProgramMain& program, ScriptSettings settings)
{
    ScriptOutcome outcome;
    int currentLine = 0;
    settings.scenario.reportFailure = [&outcome, &currentLine](const std::string& message) {
        if (outcome.error.empty()) outcome.error = "line " + std::to_string(currentLine) + ": " + message;
    };
    const ScenarioResult result = runScenario(program, [&] {
        for (const ScriptCommand& command : script.commands) {
            currentLine = command.line;
            if (runCommand(command, settings) != 0) break;
        }
    }, settings.scenario);
    outcome.exitCode = result.exitCode;
    return outcome;
}

}  // namespace driver
