#include "tools/ydb/source/json_lines.h"

#include <algorithm>

#include <nlohmann/json.hpp>

JsonLayout locateJson(std::string_view text) {
    JsonLayout layout;
    int line = 1;
    int depth = 0;
    bool topIsArray = false;
    bool expectElement = false;  // at depth 1 of an array: the next value starts an element
    bool inString = false;
    bool escaped = false;
    bool keyPending = false;     // at depth 1 of an object: the next string is a key
    std::string key;
    int keyLine = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\n') ++line;
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
                if (keyPending) {
                    layout.keyLines.emplace(key, keyLine);
                    keyPending = false;
                }
            } else if (keyPending) {
                key += c;
            }
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        if (depth == 1 && topIsArray && expectElement && c != ']') {
            layout.elementLines.push_back(line);
            expectElement = false;
        }
        switch (c) {
        case '"':
            inString = true;
            if (depth == 1 && !topIsArray && keyLine == -1) {
                keyPending = true;
                key.clear();
                keyLine = line;
            }
            break;
        case '[':
        case '{':
            if (depth == 0) {
                topIsArray = c == '[';
                expectElement = topIsArray;
                keyLine = -1;
            }
            ++depth;
            break;
        case ']':
        case '}':
            --depth;
            break;
        case ',':
            if (depth == 1) {
                expectElement = topIsArray;
                keyLine = -1;
            }
            break;
        case ':':
            if (depth == 1) keyLine = 0;
            break;
        default:
            break;
        }
    }
    return layout;
}

int lineOfOffset(std::string_view text, size_t offset) {
    int line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == '\n') ++line;
    return line;
}

namespace {

// A key as the parser reads it: escapes resolved, so that "a" and "\u0061" are the same key.
std::string keyText(std::string_view raw) {
    if (raw.find('\\') == std::string_view::npos) return std::string(raw);
    try {
        return nlohmann::json::parse("\"" + std::string(raw) + "\"").get<std::string>();
    } catch (const nlohmann::json::exception&) {
        return std::string(raw);
    }
}

struct OpenValue {
    bool object = false;
    bool expectKey = false;
    std::map<std::string, std::pair<int, int>> keys;  // line and column of each key seen
};

} // namespace

std::vector<DuplicateKey> duplicateKeys(std::string_view text) {
    std::vector<DuplicateKey> found;
    std::vector<OpenValue> open;
    int line = 1;
    int column = 0;  // characters of the current line before the byte in hand
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++column;
        if (c == '\n') {
            ++line;
            column = 0;
            continue;
        }
        if (c == '"') {
            const int keyLine = line;
            const int keyColumn = column;
            size_t end = i + 1;
            while (end < text.size() && text[end] != '"') {
                if (text[end] == '\\') ++end;
                ++end;
            }
            std::string_view raw = text.substr(i + 1, std::min(end, text.size()) - i - 1);
            for (char k : raw) column += (static_cast<unsigned char>(k) & 0xC0) != 0x80;
            ++column;  // the closing quote
            i = end;
            if (open.empty() || !open.back().object || !open.back().expectKey) continue;
            open.back().expectKey = false;
            auto [it, first] = open.back().keys.emplace(keyText(raw), std::make_pair(keyLine, keyColumn));
            if (!first) found.push_back({it->first, it->second.first, it->second.second, keyLine, keyColumn});
            continue;
        }
        switch (c) {
        case '{':
        case '[':
            open.push_back({c == '{', c == '{', {}});
            break;
        case '}':
        case ']':
            if (!open.empty()) open.pop_back();
            break;
        case ',':
            if (!open.empty() && open.back().object) open.back().expectKey = true;
            break;
        default:
            break;
        }
    }
    return found;
}
