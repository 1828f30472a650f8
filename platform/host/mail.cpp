// The device's mail program on the host: its command line becomes a "mailto:" address for the
// host's mailer.
#include "emulator.h"
#include "platform/host/host_services.h"
#include "platform/host/uri_text.h"

namespace host {

namespace {

// The address characters a mailto: keeps as they are (a list of addresses stays a list).
constexpr std::string_view addressKeeps = "@,+!$'*";

struct MailFields {
    std::string to, cc, bcc, subject, body;
};

// Reads "-name value" pairs; a value is quoted ("..." up to the next quote) or one word.
bool readMailFields(std::string_view line, MailFields& fields)
{
    size_t at = 0;
    auto skipBlanks = [&] {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    };
    for (skipBlanks(); at < line.size(); skipBlanks()) {
        if (line[at] != '-') return false;
        const size_t nameStart = ++at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
        const std::string_view name = line.substr(nameStart, at - nameStart);
        skipBlanks();
        std::string value;
        if (at < line.size() && line[at] == '"') {
            const size_t close = line.find('"', at + 1);
            if (close == std::string_view::npos) return false;
            value = line.substr(at + 1, close - at - 1);
            at = close + 1;
        } else {
            const size_t valueStart = at;
            while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
            value = line.substr(valueStart, at - valueStart);
        }
        if (name == "to") fields.to = value;
        else if (name == "cc") fields.cc = value;
        else if (name == "bcc") fields.bcc = value;
        else if (name == "subject") fields.subject = value;
        else if (name == "body") fields.body = value;
        // Other options of the device's mailer (attachments, accounts) have no host meaning.
    }
    return true;
}

}  // namespace

DWORD mailAddressOfCommandLine(std::string_view utf8CommandLine, std::string& address)
{
    address.clear();
    MailFields fields;
    if (!readMailFields(utf8CommandLine, fields)) return ERROR_INVALID_PARAMETER;
    std::string to(trimBlanks(fields.to));
    // A link's address may bring its own query ("a@b.ru?subject=..."); it is kept.
    std::string linkQuery;
    if (const size_t question = to.find('?'); question != std::string::npos) {
        linkQuery = to.substr(question + 1);
        to.erase(question);
    }
    if (to.empty() || hasControlCharacter(to) || hasControlCharacter(linkQuery)) return ERROR_INVALID_PARAMETER;

    std::string query = percentEncode(linkQuery, "=&%");
    auto add = [&query](std::string_view name, const std::string& value) {
        if (value.empty()) return;
        if (!query.empty()) query += '&';
        query += std::string(name) + "=" + percentEncode(value, {});
    };
    add("cc", fields.cc);
    add("bcc", fields.bcc);
    add("subject", fields.subject);
    add("body", fields.body);
    address = "mailto:" + percentEncode(to, addressKeeps);
    if (!query.empty()) address += "?" + query;
    return 0;
}

DWORD mailAddressOfUri(std::string_view utf8Uri, std::string& address)
{
    address.clear();
    const std::string_view uri = trimBlanks(utf8Uri);
    if (!startsWithNoCase(uri, "mailto:")) return ERROR_INVALID_PARAMETER;
    const std::string_view rest = uri.substr(7);
    if (rest.empty() || hasControlCharacter(rest)) return ERROR_INVALID_PARAMETER;
    address = "mailto:" + percentEncode(rest, "@,+!$'*?=&%");
    return 0;
}

DWORD openMailAddress(const std::string& mailtoAddress)
{
    if (launchMode() == LaunchMode::Journal) {
        emu::appendJournal("mail " + mailtoAddress);
        return 0;
    }
    return openWithHostOpener(mailtoAddress);
}

}  // namespace host
