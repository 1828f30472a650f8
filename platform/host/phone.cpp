#include "platform/host/phone.h"

#include "ce/phone.h"
#include "emulator.h"
#include "platform/host/host_services.h"

namespace host {

namespace {

constexpr LONG callDone = 0;                                   // S_OK
constexpr LONG callRefused = static_cast<LONG>(0x80070057u);  // E_INVALIDARG
constexpr LONG callCancelled = static_cast<LONG>(0x80004004u);  // E_ABORT

LONG WINAPI phoneMakeCall(PHONEMAKECALLINFO* request)
{
    if (request == nullptr || request->cbSize < sizeof(PHONEMAKECALLINFO) || request->pszDestAddress == nullptr)
        return callRefused;
    const std::u16string number(request->pszDestAddress);
    const std::string address = telephoneAddressOf(number);
    if (address.empty()) return callRefused;
    if (request->dwFlags & PMCF_PROMPTBEFORECALLING) {
        const std::u16string question = u"Позвонить по номеру " + number + u"?";
        if (MessageBoxW(nullptr, question.c_str(), u"Телефон", MB_YESNO | MB_ICONQUESTION) != IDYES) return callCancelled;
    }
    if (launchMode() == LaunchMode::Journal) {
        emu::appendJournal("call " + address);
        return callDone;
    }
    return openWithHostOpener(address) == 0 ? callDone : callRefused;
}

}  // namespace

std::string telephoneAddressOf(std::u16string_view number)
{
    std::string digits;
    for (const char16_t c : number) {
        if ((c >= u'0' && c <= u'9') || c == u'+' || c == u'*' || c == u'#') digits += static_cast<char>(c);
        else if (c != u' ' && c != u'-' && c != u'(' && c != u')') return {};
    }
    if (digits.empty()) return {};
    // '#' would end the address as a fragment; it is a key of the call.
    std::string address = "tel:";
    for (const char c : digits) address += c == '#' ? std::string("%23") : std::string(1, c);
    return address;
}

void installPhoneProfile()
{
    emu::registerLibrary(u"phone.dll", {{u"PhoneMakeCall", reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&phoneMakeCall))}});
}

void removePhoneProfile() { emu::unregisterLibrary(u"phone.dll"); }

}  // namespace host
