// The window dump as JSON, and searching it.
#include "platform/testing/window_dump.h"

#include "emulator.h"

#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>

namespace driver {

namespace {

// Keys stay in the order a reader expects them: what the window is before what it holds.
using Json = nlohmann::ordered_json;

std::string utf8(std::u16string_view text) { return emu::toUtf8(text); }

int flag(bool value) { return value ? 1 : 0; }

Json lineJson(const ListLineDump& line)
{
    return Json{{"text", utf8(line.text)},
                {"value", static_cast<long long>(line.value)},
                {"selected", flag(line.selected)}};
}

Json itemJson(const TreeItemDump& item)
{
    return Json{{"text", utf8(item.text)},
                {"depth", item.depth},
                {"expanded", flag(item.expanded)},
                {"selected", flag(item.selected)}};
}

Json windowJson(const WindowDump& window)
{
    Json json{{"class", utf8(window.windowClass)},
              {"id", static_cast<long long>(window.id)},
              {"text", utf8(window.text)},
              {"rect", Json::array({window.rect.left, window.rect.top, window.rect.right, window.rect.bottom})},
              {"style", window.style},
              {"enabled", flag(window.enabled)},
              {"focused", flag(window.focused)}};
    if (window.lines) {
        Json lines = Json::array();
        for (const ListLineDump& line : *window.lines) lines.push_back(lineJson(line));
        json["lines"] = std::move(lines);
    }
    if (window.items) {
        Json items = Json::array();
        for (const TreeItemDump& item : *window.items) items.push_back(itemJson(item));
        json["items"] = std::move(items);
    }
    if (window.page) {
        json["address"] = utf8(window.page->address);
        json["anchor"] = utf8(window.page->anchor);
        json["top"] = window.page->top;
    }
    if (!window.drawn.empty()) {
        Json drawn = Json::array();
        for (const DrawnTextDump& text : window.drawn) {
            const RECT& r = text.rect;
            drawn.push_back(Json{{"text", utf8(text.text)}, {"rect", Json::array({r.left, r.top, r.right, r.bottom})}});
        }
        json["drawn"] = std::move(drawn);
    }
    Json children = Json::array();
    for (const WindowDump& child : window.children) children.push_back(windowJson(child));
    json["children"] = std::move(children);
    return json;
}

std::string flat(const Json& value)
{
    // A text the program left with a lone surrogate half must not lose the whole dump.
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Indented, but whatever fits a line (a rect, a list line, a small window) stays on one, so
// that a person can read a screen of the dump at a glance.
void writeReadable(const Json& value, size_t indent, std::string& out)
{
    constexpr size_t lineWidth = 110;
    std::string line = flat(value);
    if (!value.is_structured() || value.empty() || indent + line.size() <= lineWidth) {
        out += line;
        return;
    }
    const bool object = value.is_object();
    out += object ? '{' : '[';
    const char* separator = "\n";
    for (auto item = value.begin(); item != value.end(); ++item) {
        out += separator;
        separator = ",\n";
        out.append(indent + 2, ' ');
        if (object) out += flat(item.key()) + ": ";
        writeReadable(*item, indent + 2, out);
    }
    out += '\n';
    out.append(indent, ' ');
    out += object ? '}' : ']';
}

using Test = std::function<bool(const WindowDump&)>;

const WindowDump* firstAmong(const std::vector<WindowDump>& windows, const Test& test)
{
    for (const WindowDump& window : windows) {
        if (test(window)) return &window;
        if (const WindowDump* found = firstAmong(window.children, test)) return found;
    }
    return nullptr;
}

Test classAndText(std::u16string_view windowClass, std::u16string_view text)
{
    return [windowClass, text](const WindowDump& window) {
        return (windowClass.empty() || sameClassName(window.windowClass, windowClass)) &&
               (text.empty() || window.text == text);
    };
}

Test controlId(LONG_PTR id)
{
    return [id](const WindowDump& window) { return window.id == id; };
}

}  // namespace

std::string dumpJson(const ScreenDump& dump)
{
    Json windows = Json::array();
    for (const WindowDump& window : dump.windows) windows.push_back(windowJson(window));
    std::string text;
    writeReadable(Json{{"windows", std::move(windows)}}, 0, text);
    return text + "\n";
}

int writeDump(const ScreenDump& dump, const std::string& path)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << dumpJson(dump);
    out.close();
    return out ? 0 : -1;
}

bool sameClassName(std::u16string_view a, std::u16string_view b)
{
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

const WindowDump* findDumped(const ScreenDump& dump, std::u16string_view windowClass, std::u16string_view text)
{
    return firstAmong(dump.windows, classAndText(windowClass, text));
}

const WindowDump* findDumped(const WindowDump& within, std::u16string_view windowClass, std::u16string_view text)
{
    return firstAmong(within.children, classAndText(windowClass, text));
}

const WindowDump* findDumpedControl(const ScreenDump& dump, LONG_PTR id)
{
    return firstAmong(dump.windows, controlId(id));
}

const WindowDump* findDumpedControl(const WindowDump& within, LONG_PTR id)
{
    return firstAmong(within.children, controlId(id));
}

}  // namespace driver
