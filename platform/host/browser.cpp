// The device's browser on the host: only web addresses reach the host's URL opener, because it
// would as readily open a local file or run a handler for any other scheme.
#include "emulator.h"
#include "platform/host/host_services.h"
#include "platform/host/uri_text.h"

#include <cctype>

namespace host {

namespace {

// The scheme in front of the first ':', when what stands there can be one. "www.firm.ru:8080"
// has a dot before its colon, so it is a host with a port, not a scheme.
std::string_view schemeOf(std::string_view text)
{
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) return {};
    const std::string_view candidate = text.substr(0, colon);
    if (!std::isalpha(static_cast<unsigned char>(candidate.front()))) return {};
    for (const char c : candidate) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-') return {};
    }
    return candidate;
}

}  // namespace

DWORD browserAddressOf(std::string_view utf8Text, std::string& address)
{
    address.clear();
    const std::string_view text = trimBlanks(utf8Text);
    if (text.empty()) return ERROR_INVALID_PARAMETER;
    if (hasControlCharacter(text)) return ERROR_INVALID_PARAMETER;

    std::string_view rest = text;
    std::string scheme = "http";
    if (const std::string_view given = schemeOf(text); !given.empty()) {
        if (startsWithNoCase(given, "https") && given.size() == 5) scheme = "https";
        else if (!(startsWithNoCase(given, "http") && given.size() == 4)) return ERROR_ACCESS_DENIED;
        rest.remove_prefix(given.size() + 1);
        if (rest.substr(0, 2) != "//") return ERROR_INVALID_PARAMETER;
        rest.remove_prefix(2);
    }
    // A host begins with a letter or digit (or '[' of an IPv6 address); "\\server" and "/etc" are not hosts.
    if (rest.empty() || !(std::isalnum(static_cast<unsigned char>(rest.front())) || rest.front() == '['))
        return ERROR_INVALID_PARAMETER;
    // Everything a URL may carry stays as it is; what the opener could misread is encoded.
    address = scheme + "://" + percentEncode(rest, "!#$%&'()*+,/:;=?@[]");
    return 0;
}

DWORD openWebAddress(std::string_view utf8Text)
{
    std::string address;
    if (const DWORD error = browserAddressOf(utf8Text, address); error != 0) return error;
    if (launchMode() == LaunchMode::Journal) {
        emu::appendJournal("browser " + address);
        return 0;
    }
    return openWithHostOpener(address);
}

}  // namespace host
