#include "platform/htmlview/page_text.h"

#include <algorithm>
#include <cctype>

namespace htmlview {

namespace {

// The declaration must come early: a page names its charset in its head, and scanning the whole
// of a large page for it would also let text that merely mentions "charset=" decide.
constexpr size_t declarationWindow = 2048;

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

std::u16string toWide(UINT codePage, std::string_view text)
{
    if (text.empty())
        return {};
    int length = static_cast<int>(std::min<size_t>(text.size(), maxPageBytes));
    int units = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (units <= 0)
        return {};
    std::u16string wide(static_cast<size_t>(units), u'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), units);
    return wide;
}

std::string fromWide(UINT codePage, std::u16string_view text)
{
    if (text.empty())
        return {};
    int length = static_cast<int>(std::min<size_t>(text.size(), maxPageBytes));
    int bytes = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string narrow(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), length, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

} // namespace

UINT declaredCodePage(std::string_view bytes)
{
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF)
        return CP_UTF8;
    std::string_view head = bytes.substr(0, declarationWindow);
    for (size_t at = 0; at + 7 <= head.size(); ++at) {
        if (!startsWithNoCase(head.substr(at), "charset"))
            continue;
        size_t p = at + 7;
        while (p < head.size() && (head[p] == ' ' || head[p] == '\t'))
            ++p;
        if (p >= head.size() || head[p] != '=')
            continue;
        ++p;
        while (p < head.size() && (head[p] == ' ' || head[p] == '"' || head[p] == '\''))
            ++p;
        std::string name;
        while (p < head.size() && name.size() < 32 &&
               (std::isalnum(static_cast<unsigned char>(head[p])) || head[p] == '-' || head[p] == '_'))
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(head[p++])));
        if (name == "utf-8" || name == "utf8")
            return CP_UTF8;
        return 1251;
    }
    return 1251;
}

std::string pageToUtf8(std::string_view bytes)
{
    bytes = bytes.substr(0, maxPageBytes);
    std::string clean;
    clean.reserve(bytes.size());
    for (char c : bytes)
        if (c != '\0')
            clean += c;
    UINT codePage = declaredCodePage(clean);
    if (codePage == CP_UTF8) {
        // Through UTF-16 and back, so that broken sequences come out as U+FFFD rather than
        // reaching the layout engine as they are.
        std::string text = utf16ToUtf8(toWide(CP_UTF8, clean));
        if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            text.erase(0, 3);
        return text;
    }
    return cp1251ToUtf8(clean);
}

std::string escapePlainText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view text) { return toWide(CP_UTF8, text); }
std::string utf16ToUtf8(std::u16string_view text) { return fromWide(CP_UTF8, text); }
std::string utf8To1251(std::string_view text) { return fromWide(1251, toWide(CP_UTF8, text)); }
std::string cp1251ToUtf8(std::string_view text) { return fromWide(CP_UTF8, toWide(1251, text)); }

} // namespace htmlview
