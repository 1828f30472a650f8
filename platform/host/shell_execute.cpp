// ShellExecuteA / ShellExecuteExW: what the file names decides which host service carries the
// start out (see win32/shellapi.h).
#include "win32.h"
#include "win32/shellapi.h"

#include "emulator.h"
#include "platform/host/host_services.h"
#include "platform/host/uri_text.h"

#include <algorithm>
#include <cctype>

namespace {

// What the platform's shell returns for a start that worked: any value above 32.
constexpr INT_PTR startedResult = 42;

std::u16string wideOfAnsi(LPCSTR text)
{
    if (text == nullptr) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return {};
    std::u16string wide(static_cast<size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.pop_back();
    return wide;
}

std::u16string_view viewOf(LPCWSTR text) { return text ? std::u16string_view(text) : std::u16string_view(); }

// The program name at the end of a path, lower case, without ".exe".
std::string programNameOf(std::string_view path)
{
    const size_t slash = path.find_last_of("\\/");
    std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0) name.resize(name.size() - 4);
    return name;
}

DWORD openMail(std::string_view commandLine, bool isUri)
{
    std::string address;
    const DWORD error = isUri ? host::mailAddressOfUri(commandLine, address)
                              : host::mailAddressOfCommandLine(commandLine, address);
    return error != 0 ? error : host::openMailAddress(address);
}

DWORD execute(std::u16string_view verb, std::u16string_view file, std::u16string_view parameters,
              std::u16string_view folder)
{
    const std::string verbText = emu::toUtf8(verb);
    if (!verb.empty() && !(verbText.size() == 4 && host::startsWithNoCase(verbText, "open"))) return ERROR_NOT_SUPPORTED;
    return host::startByName(file, parameters, folder);
}

INT_PTR shellResultOf(DWORD error)
{
    switch (error) {
    case 0: return startedResult;
    case ERROR_FILE_NOT_FOUND: return SE_ERR_FNF;
    case ERROR_PATH_NOT_FOUND: return SE_ERR_PNF;
    case ERROR_ACCESS_DENIED: return SE_ERR_ACCESSDENIED;
    case ERROR_NOT_ENOUGH_MEMORY: return SE_ERR_OOM;
    default: return SE_ERR_NOASSOC;
    }
}

}  // namespace

HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory, INT)
{
    const DWORD error = execute(wideOfAnsi(lpOperation), wideOfAnsi(lpFile), wideOfAnsi(lpParameters),
                                wideOfAnsi(lpDirectory));
    if (error != 0) SetLastError(error);
    return reinterpret_cast<HINSTANCE>(shellResultOf(error));
}

BOOL WINAPI ShellExecuteExW(LPSHELLEXECUTEINFOW lpExecInfo)
{
    if (lpExecInfo == nullptr || lpExecInfo->cbSize != sizeof(SHELLEXECUTEINFOW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpExecInfo->hProcess = nullptr;
    const DWORD error = execute(viewOf(lpExecInfo->lpVerb), viewOf(lpExecInfo->lpFile),
                                viewOf(lpExecInfo->lpParameters), viewOf(lpExecInfo->lpDirectory));
    lpExecInfo->hInstApp = reinterpret_cast<HINSTANCE>(shellResultOf(error));
    if (error != 0) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

namespace host {

DWORD startByName(std::u16string_view file, std::u16string_view parameters, std::u16string_view folder)
{
    // Every start, by a program or by the page view's links, comes through here.
    if (emu::plannedFailure(emu::FailingCall::processStart)) return GetLastError();
    const std::string fileText(trimBlanks(emu::toUtf8(file)));
    const std::string parameterText = emu::toUtf8(parameters);
    if (fileText.empty()) return ERROR_FILE_NOT_FOUND;

    if (startsWithNoCase(fileText, "http://") || startsWithNoCase(fileText, "https://"))
        return openWebAddress(fileText);
    if (startsWithNoCase(fileText, "mailto:")) return openMail(fileText, true);
    // A device path never holds a colon, so this is an address of some other kind ("file:",
    // "javascript:", ...), which is not passed on to anything.
    if (fileText.find(':') != std::string::npos) return ERROR_ACCESS_DENIED;

    const std::string program = programNameOf(fileText);
    if (program == "iexplore") return openWebAddress(parameterText);
    if (program == "tmail") return openMail(parameterText, false);
    if (program == "notes") return openInNotesEditor(parameters);
    return startDeviceProgram(emu::fromUtf8(fileText), parameterText, folder);
}

}  // namespace host
