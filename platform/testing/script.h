// Scripts for --script: one command a line, run by the test driver as a scenario's body.
//
//   tap X Y                  stylus down and up at a screen point
//   drag X1 Y1 X2 Y2         stylus down, moved, up
//   key NAME[+NAME...]       VK_RETURN, VK_CONTROL+Q, A ...: modifiers held around the last key
//   type TEXT                the rest of the line as typed characters (\n \r \t \\ escapes)
//   wait-idle                let the program run until it waits again
//   expect-box CAPTION|TEXT|ICON  a message box is open with this caption, and this text and
//                            icon when given (an empty text matches any; icons: none,
//                            MB_ICONQUESTION, MB_ICONSTOP, ...); \n \r \t \\ and \| escapes
//   answer BUTTON            IDOK, IDCANCEL, IDYES, IDNO, IDABORT, IDRETRY, IDIGNORE
//   screenshot NAME          NAME.png in the screenshot folder
//   dump NAME                NAME.json in the screenshot folder: every visible window, topmost
//                            first, as {"windows": [...]}; each {"class", "id", "text", "rect":
//                            [left, top, right, bottom] on the screen, "style", "enabled",
//                            "focused", "children": [...]}, list and combo boxes with "lines":
//                            [{"text", "value", "selected"}], tree views with "items": [{"text",
//                            "depth", "expanded", "selected"}] (the items shown, parents
//                            expanded), HTML views with "address", "anchor", "top" (how far
//                            the page is scrolled) and the texts they drew, the program's
//                            own windows with the texts they drew, "drawn": [{"text", "rect"}]
//                            (see window_dump.h)
//   expect-window CLASS|CAPTION  a visible window of this class and/or caption exists
//   expect-journal LINE      a program start or call was journalled as LINE (headless runs),
//                            e.g. "browser http://www.firm.ru"
//   wait-journal MS LINE     let the program run until LINE is journalled once more than when
//                            the command began, for at most MS milliseconds
//   sleep MS                 let the program run (timers fire) for MS milliseconds
//   quit                     close the program and wait for it to end
// Blank lines and lines starting with '#' are ignored.
#pragma once

#include "platform/testing/scenario.h"
#include "platform/testing/window_dump.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace driver {

enum class CommandKind {
    Tap, Drag, Key, Type, WaitIdle, ExpectBox, Answer, Screenshot, Dump, ExpectWindow, ExpectJournal, WaitJournal,
    Sleep, Quit
};

struct ScriptCommand {
    CommandKind kind = CommandKind::WaitIdle;
    int line = 0;
    int numbers[4] = {0, 0, 0, 0};
    std::vector<UINT> keys;  // modifiers, then the key
    std::u16string text;     // type; expect-box caption; expect-window class; the journal line
    std::u16string detail;   // expect-box text; expect-window caption
    bool hasDetail = false;
    UINT icon = 0;           // expect-box: MB_ICON* of the box, when hasIcon
    bool hasIcon = false;
    std::string name;        // screenshot and dump file name
};

struct Script {
    std::vector<ScriptCommand> commands;
};

// 0, or 1 with "line N: what is wrong" in error. Nothing of a bad script is kept.
int parseScript(std::string_view source, Script& script, std::string& error);
int readScriptFile(const std::string& path, Script& script, std::string& error);

// The virtual-key code of a name ("VK_RETURN", "A", "7"), or 0.
UINT virtualKeyNamed(std::string_view name);

struct ScriptSettings {
    std::string screenshotFolder = ".";
    // True when a visible window with this class and caption exists (an empty one matches any).
    // Without it, expect-window fails.
    std::function<bool(std::u16string_view windowClass, std::u16string_view caption)> windowExists;
    // The screen's windows as they are now (driver::dumpWindows of windows.h). Without it, dump
    // fails.
    std::function<ScreenDump()> dumpWindows;
    ScenarioSettings scenario;
};

struct ScriptOutcome {
    int exitCode = 0;   // the program's
    std::string error;  // the first failure, "line N: ...", or empty
};

// Runs the program with the script as its user. Stops at the first failed command; the program
// is then closed.
ScriptOutcome runScript(const Script& script, const ProgramMain& program, ScriptSettings settings);

// Saves the screen framebuffer; 0 or -1.
int saveScreen(const std::string& path);

}  // namespace driver
