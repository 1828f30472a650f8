#include "tools/ydb/source/json_lines.h"

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
