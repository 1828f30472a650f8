// Reading scripts: every malformed line is an error naming its line, never a guess.
#include "platform/testing/script.h"

#include "emulator.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace driver {

namespace {

constexpr size_t longestLine = 4096;
constexpr int largestCoordinate = 32767;
constexpr int longestSleepMs = 600000;

struct KeyName {
    std::string_view name;
    UINT key;
};

// The platform's numbers.
constexpr KeyName keyNames[] = {
    {"VK_BACK", 0x08},   {"VK_TAB", 0x09},    {"VK_RETURN", 0x0D}, {"VK_SHIFT", 0x10},  {"VK_CONTROL", 0x11},
    {"VK_MENU", 0x12},   {"VK_ESCAPE", 0x1B}, {"VK_SPACE", 0x20},  {"VK_PRIOR", 0x21},  {"VK_NEXT", 0x22},
    {"VK_END", 0x23},    {"VK_HOME", 0x24},   {"VK_LEFT", 0x25},   {"VK_UP", 0x26},     {"VK_RIGHT", 0x27},
    {"VK_DOWN", 0x28},   {"VK_INSERT", 0x2D}, {"VK_DELETE", 0x2E}, {"VK_F1", 0x70},     {"VK_F2", 0x71},
    {"VK_F3", 0x72},     {"VK_F4", 0x73},     {"VK_F5", 0x74},     {"VK_F6", 0x75},     {"VK_F7", 0x76},
    {"VK_F8", 0x77},     {"VK_F9", 0x78},     {"VK_F10", 0x79},    {"VK_F11", 0x7A},    {"VK_F12", 0x7B},
    {"VK_OEM_2", 0xBF},  {"/", 0xBF},
};

struct ButtonName {
    std::string_view name;
    int button;
};

constexpr ButtonName buttonNames[] = {
    {"IDOK", IDOK}, {"IDCANCEL", IDCANCEL}, {"IDABORT", IDABORT}, {"IDRETRY", IDRETRY},
    {"IDIGNORE", IDIGNORE}, {"IDYES", IDYES}, {"IDNO", IDNO},
};

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> words(std::string_view text)
{
    std::vector<std::string_view> result;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
        const size_t start = at;
        while (at < text.size() && text[at] != ' ' && text[at] != '\t') ++at;
        if (at > start) result.push_back(text.substr(start, at - start));
    }
    return result;
}

bool validUtf8(std::string_view text) { return emu::toUtf8(emu::fromUtf8(text)) == text; }

// One line's reading; `problem` is set on failure.
struct LineReader {
    ScriptCommand& command;
    std::string problem;

    bool numbers(std::string_view usage, const std::vector<std::string_view>& arguments, size_t count, int largest)
    {
        if (arguments.size() != count) {
            problem = std::string(usage);
            return false;
        }
        for (size_t i = 0; i < count; ++i) {
            int value = 0;
            const auto [end, result] = std::from_chars(arguments[i].data(), arguments[i].data() + arguments[i].size(), value);
            if (result != std::errc() || end != arguments[i].data() + arguments[i].size() || value < 0 || value > largest) {
                problem = "'" + std::string(arguments[i]) + "' is not a number from 0 to " + std::to_string(largest) +
                          " (" + std::string(usage) + ")";
                return false;
            }
            command.numbers[i] = value;
        }
        return true;
    }

    bool keys(std::string_view text)
    {
        if (text.empty()) {
            problem = "key needs a key name, e.g. key VK_RETURN or key VK_CONTROL+Q";
            return false;
        }
        size_t start = 0;
        while (start <= text.size()) {
            const size_t plus = text.find('+', start);
            const std::string_view name = text.substr(start, plus == std::string_view::npos ? std::string_view::npos : plus - start);
            const UINT key = virtualKeyNamed(name);
            if (key == 0) {
                problem = "unknown key '" + std::string(name) + "'";
                return false;
            }
            command.keys.push_back(key);
            if (plus == std::string_view::npos) break;
            start = plus + 1;
        }
        return true;
    }

    // Typed text, captions and texts: \n \r \t \\ and \| (a bar that does not separate) are
    // escapes, since the programs' box texts run over several lines.
    bool escapedText(std::string_view text, std::u16string& target)
    {
        std::string unescaped;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\\') {
                unescaped += text[i];
                continue;
            }
            const char next = i + 1 < text.size() ? text[++i] : '\0';
            switch (next) {
            case 'n': unescaped += '\n'; break;
            case 'r': unescaped += '\r'; break;
            case 't': unescaped += '\t'; break;
            case '\\': unescaped += '\\'; break;
            case '|': unescaped += '|'; break;
            default:
                problem = "unknown escape '\\" + std::string(next ? 1 : 0, next) + "' (\\n \\r \\t \\\\ \\| are known)";
                return false;
            }
        }
        target = emu::fromUtf8(unescaped);
        return true;
    }

    bool typedText(std::string_view text)
    {
        if (!escapedText(text, command.text)) return false;
        if (command.text.empty()) {
            problem = "type needs the text to type";
            return false;
        }
        return true;
    }

    // The parts of "FIRST|SECOND|THIRD" split at the bars that are not escaped.
    static std::vector<std::string_view> barParts(std::string_view text)
    {
        std::vector<std::string_view> parts;
        size_t start = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\\') {
                ++i;
            } else if (text[i] == '|') {
                parts.push_back(text.substr(start, i - start));
                start = i + 1;
            }
        }
        parts.push_back(text.substr(start));
        return parts;
    }

    bool iconNamed(std::string_view name)
    {
        struct IconName {
            std::string_view name;
            UINT icon;
        };
        static constexpr IconName icons[] = {
            {"none", 0}, {"MB_ICONQUESTION", MB_ICONQUESTION}, {"MB_ICONEXCLAMATION", MB_ICONEXCLAMATION},
            {"MB_ICONWARNING", MB_ICONWARNING}, {"MB_ICONINFORMATION", MB_ICONINFORMATION},
            {"MB_ICONASTERISK", MB_ICONASTERISK}, {"MB_ICONSTOP", MB_ICONSTOP}, {"MB_ICONERROR", MB_ICONERROR},
            {"MB_ICONHAND", MB_ICONHAND},
        };
        for (const IconName& icon : icons) {
            if (icon.name == trimmed(name)) {
                command.icon = icon.icon;
                command.hasIcon = true;
                return true;
            }
        }
        problem = "unknown icon '" + std::string(name) +
                  "' (none, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONINFORMATION or MB_ICONSTOP)";
        return false;
    }

    // "FIRST|SECOND", and for a box "|ICON" after them; all but the first part are optional.
    bool parts(std::string_view text, std::string_view usage, bool firstRequired, bool iconAllowed)
    {
        const std::vector<std::string_view> split = barParts(text);
        if (split.size() > (iconAllowed ? 3u : 2u)) {
            problem = std::string(usage);
            return false;
        }
        if (!escapedText(split[0], command.text)) return false;
        command.hasDetail = split.size() > 1;
        if (command.hasDetail && !escapedText(split[1], command.detail)) return false;
        if (split.size() > 2 && !iconNamed(split[2])) return false;
        if ((firstRequired && command.text.empty()) || (command.text.empty() && command.detail.empty())) {
            problem = std::string(usage);
            return false;
        }
        return true;
    }

    // The name of a file the command writes into the screenshot folder, `extension` added
    // unless it is there.
    bool fileName(const std::vector<std::string_view>& arguments, std::string_view verb, std::string_view extension)
    {
        if (arguments.size() != 1) {
            problem = std::string(verb) + " takes one name: " + std::string(verb) + " NAME";
            return false;
        }
        const std::string_view name = arguments[0];
        bool plain = !name.empty() && name.size() <= 100 && name.front() != '.';
        for (const char c : name) {
            const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                                 c == '-' || c == '_' || c == '.';
            plain = plain && allowed;
        }
        // A name, never a path: the file stays in its folder.
        if (!plain) {
            problem = std::string(verb) + " name '" + std::string(name) +
                      "' may hold only letters, digits, '-', '_' and '.'";
            return false;
        }
        command.name = std::string(name);
        if (!command.name.ends_with(extension)) command.name += extension;
        return true;
    }

    bool read(std::string_view line)
    {
        const size_t space = line.find_first_of(" \t");
        const std::string_view verb = line.substr(0, space);
        const std::string_view rest = space == std::string_view::npos ? std::string_view() : trimmed(line.substr(space + 1));
        const std::vector<std::string_view> arguments = words(rest);
        auto noArguments = [&](CommandKind kind) {
            command.kind = kind;
            if (!arguments.empty()) problem = std::string(verb) + " takes no arguments";
            return arguments.empty();
        };
        if (verb == "tap") {
            command.kind = CommandKind::Tap;
            return numbers("tap takes two numbers: tap X Y", arguments, 2, largestCoordinate);
        }
        if (verb == "drag") {
            command.kind = CommandKind::Drag;
            return numbers("drag takes four numbers: drag X1 Y1 X2 Y2", arguments, 4, largestCoordinate);
        }
        if (verb == "sleep") {
            command.kind = CommandKind::Sleep;
            return numbers("sleep takes a number of milliseconds: sleep MS", arguments, 1, longestSleepMs);
        }
        if (verb == "key") {
            command.kind = CommandKind::Key;
            if (arguments.size() > 1) {
                problem = "key takes one key name (join modifiers with '+')";
                return false;
            }
            return keys(rest);
        }
        if (verb == "type") {
            command.kind = CommandKind::Type;
            // The text is what follows the one blank after the verb, its own blanks kept.
            const std::string_view text = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
            return typedText(text);
        }
        if (verb == "expect-box") {
            command.kind = CommandKind::ExpectBox;
            return parts(rest, "expect-box needs a caption: expect-box CAPTION|TEXT|ICON (text and icon optional)", true, true);
        }
        if (verb == "expect-window") {
            command.kind = CommandKind::ExpectWindow;
            return parts(rest, "expect-window needs a class or a caption: expect-window CLASS|CAPTION", false, false);
        }
        if (verb == "expect-journal") {
            command.kind = CommandKind::ExpectJournal;
            if (rest.empty()) {
                problem = "expect-journal needs the line: expect-journal LINE";
                return false;
            }
            command.text = emu::fromUtf8(rest);
            return true;
        }
        if (verb == "wait-journal") {
            command.kind = CommandKind::WaitJournal;
            const char usage[] = "wait-journal needs a time and the line: wait-journal MS LINE";
            if (arguments.size() < 2) {
                problem = usage;
                return false;
            }
            if (!numbers(usage, {arguments[0]}, 1, longestSleepMs)) return false;
            command.text = emu::fromUtf8(trimmed(rest.substr(arguments[0].size())));
            return true;
        }
        if (verb == "answer") {
            command.kind = CommandKind::Answer;
            if (arguments.size() == 1) {
                for (const ButtonName& button : buttonNames) {
                    if (arguments[0] == button.name) {
                        command.numbers[0] = button.button;
                        return true;
                    }
                }
            }
            problem = "answer takes one button: IDOK, IDCANCEL, IDYES, IDNO, IDABORT, IDRETRY or IDIGNORE";
            return false;
        }
        if (verb == "screenshot") {
            command.kind = CommandKind::Screenshot;
            return fileName(arguments, verb, ".png");
        }
        if (verb == "dump") {
            command.kind = CommandKind::Dump;
            return fileName(arguments, verb, ".json");
        }
        if (verb == "wait-idle") return noArguments(CommandKind::WaitIdle);
        if (verb == "quit") return noArguments(CommandKind::Quit);
        problem = "unknown command '" + std::string(verb) + "'";
        return false;
    }
};

}  // namespace

UINT virtualKeyNamed(std::string_view name)
{
    for (const KeyName& key : keyNames) {
        if (key.name == name) return key.key;
    }
    if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
        return static_cast<UINT>(name[0]);
    if (name.size() == 4 && name.substr(0, 3) == "VK_") return virtualKeyNamed(name.substr(3));
    return 0;
}

int parseScript(std::string_view source, Script& script, std::string& error)
{
    script.commands.clear();
    error.clear();
    Script parsed;
    int lineNumber = 0;
    size_t at = 0;
    while (at < source.size()) {
        const size_t end = source.find('\n', at);
        const std::string_view raw = source.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        at = end == std::string_view::npos ? source.size() : end + 1;
        ++lineNumber;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (raw.size() > longestLine) {
            error = where + "longer than " + std::to_string(longestLine) + " bytes";
            return 1;
        }
        if (!validUtf8(raw)) {
            error = where + "not UTF-8 text";
            return 1;
        }
        if (raw.find('\0') != std::string_view::npos) {
            error = where + "holds a NUL byte";
            return 1;
        }
        std::string_view line = raw;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        if (trimmed(line).empty() || line.front() == '#') continue;
        ScriptCommand command;
        command.line = lineNumber;
        LineReader reader{command, {}};
        if (!reader.read(line)) {
            error = where + reader.problem;
            return 1;
        }
        parsed.commands.push_back(std::move(command));
    }
    script = std::move(parsed);
    return 0;
}

int readScriptFile(const std::string& path, Script& script, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the script " + path;
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (parseScript(text.str(), script, error) != 0) {
        error = path + ": " + error;
        return 1;
    }
    return 0;
}

}  // namespace driver
