#include "card/contact_actions.h"

#include <cstring>

namespace {

constexpr int mailAddressCharacters = 512;
constexpr char mailtoScheme[] = "mailto:";
constexpr size_t mailtoLength = sizeof mailtoScheme - 1;

} // namespace

bool startsWithMailto(const char* target)
{
    for (size_t i = 0; i < mailtoLength; ++i) {
        char c = target[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != mailtoScheme[i])
            return false;
    }
    return true;
}

std::u16string mailToCommandLine(const char* target)
{
    // Code page 1251 is one byte a character: the first 512 bytes are the first 512 characters.
    const char* address = target + mailtoLength;
    const int length = static_cast<int>(strnlen(address, mailAddressCharacters));
    WCHAR wide[mailAddressCharacters] = {};
    const int converted = length > 0 ? MultiByteToWideChar(CP_ACP, 0, address, length, wide, length) : 0;
    return u"-to \"" + std::u16string(wide, converted > 0 ? static_cast<size_t>(converted) : 0) + u"\"";
}

void startMailTo(const char* target)
{
    std::u16string commandLine = mailToCommandLine(target);
    PROCESS_INFORMATION process = {};
    CreateProcessW(W("tmail.exe"), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                   &process);
}
