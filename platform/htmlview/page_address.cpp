#include "platform/htmlview/page_address.h"

#include "platform/htmlview/page_text.h"

#include <cctype>
#include <vector>

namespace htmlview {

namespace {

constexpr std::string_view filePrefix = "file://";

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The part after "file:" and its slashes, as a path with backslashes, "." and ".." worked out.
std::string normalisedPath(std::string_view path)
{
    std::vector<std::string> parts;
    std::string part;
    auto flush = [&] {
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    };
    for (char c : path) {
        if (isSeparator(c))
            flush();
        else
            part += c;
    }
    flush();
    std::string out;
    for (const std::string& p : parts)
        out += "\\" + p;
    return out.empty() ? "\\" : out;
}

// The device path of a file address, still UTF-8 and percent-encoded.
std::string_view pathPart(std::string_view address)
{
    std::string_view rest = address.substr(5); // "file:"
    size_t end = rest.find_first_of("#?");
    return end == std::string_view::npos ? rest : rest.substr(0, end);
}

} // namespace

bool isFileAddress(std::string_view address)
{
    if (address.size() < 5)
        return false;
    for (size_t i = 0; i < 5; ++i)
        if (std::tolower(static_cast<unsigned char>(address[i])) != "file:"[i])
            return false;
    return true;
}

bool hasScheme(std::string_view address)
{
    size_t i = 0;
    while (i < address.size() && (std::isalnum(static_cast<unsigned char>(address[i])) || address[i] == '+' ||
                                  address[i] == '-' || address[i] == '.'))
        ++i;
    return i >= 2 && i < address.size() && address[i] == ':' && std::isalpha(static_cast<unsigned char>(address[0]));
}

std::string withoutFragment(std::string_view address)
{
    return std::string(address.substr(0, address.find('#')));
}

std::string fragmentOf(std::string_view address)
{
    size_t hash = address.find('#');
    return hash == std::string_view::npos ? std::string() : std::string(address.substr(hash + 1));
}

std::string resolveLink(std::string_view base, std::string_view link)
{
    if (link.empty())
        return withoutFragment(base);
    if (link.front() == '#')
        return withoutFragment(base) + std::string(link);
    if (isFileAddress(link))
        return std::string(filePrefix) + normalisedPath(pathPart(link)) +
               (link.find('#') != std::string_view::npos ? "#" + fragmentOf(link) : std::string());
    if (hasScheme(link))
        return std::string(link);
    std::string fragment = link.find('#') != std::string_view::npos ? "#" + fragmentOf(link) : std::string();
    std::string path = withoutFragment(link);
    if (isSeparator(path.front()))
        return std::string(filePrefix) + normalisedPath(path) + fragment;
    if (!isFileAddress(base))
        return std::string(link);
    std::string folder(pathPart(base));
    size_t slash = folder.find_last_of("\\/");
    folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    return std::string(filePrefix) + normalisedPath(folder + path) + fragment;
}

std::u16string devicePathOf(std::string_view address)
{
    if (!isFileAddress(address))
        return {};
    std::string_view encoded = pathPart(address);
    std::string decoded;
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%' && i + 2 < encoded.size() && hexValue(encoded[i + 1]) >= 0 &&
            hexValue(encoded[i + 2]) >= 0) {
            decoded += static_cast<char>(hexValue(encoded[i + 1]) * 16 + hexValue(encoded[i + 2]));
            i += 2;
        } else {
            decoded += encoded[i];
        }
    }
    return utf8ToUtf16(normalisedPath(decoded));
}

} // namespace htmlview
