// Message boxes: handed to the window manager's handler, or written to standard error.
#include "emulator.h"
#include "kernel_state.h"
#include "text.h"

#include <cstdio>
#include <cstring>

namespace {

std::u16string fromAnsi(LPCSTR text) {
    if (!text) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return {};
    std::u16string wide(static_cast<size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.pop_back();
    return wide;
}

}  // namespace

int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
    const std::u16string_view text = lpText ? std::u16string_view(lpText) : std::u16string_view();
    const std::u16string_view caption = lpCaption ? std::u16string_view(lpCaption) : std::u16string_view(u"Ошибка");
    // A copy: the handler may install another one while its box is open.
    const emu::MessageBoxHandler handler = kernel::kernelState().messageBoxHandler;
    if (handler) return handler(hWnd, text, caption, uType);
    const std::string line = kernel::utf16ToUtf8(caption) + ": " + kernel::utf16ToUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return emu::defaultMessageBoxAnswer(uType);
}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    const std::u16string text = fromAnsi(lpText);
    const std::u16string caption = fromAnsi(lpCaption);
    return MessageBoxW(hWnd, text.c_str(), lpCaption ? caption.c_str() : nullptr, uType);
}

namespace emu {

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = std::move(kernel::kernelState().messageBoxHandler);
    kernel::kernelState().messageBoxHandler = std::move(handler);
    return previous;
}

int defaultMessageBoxAnswer(UINT style) {
    static constexpr int buttons[][3] = {
        {IDOK, 0, 0},                    // MB_OK
        {IDOK, IDCANCEL, 0},             // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},    // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},         // MB_YESNOCANCEL
        {IDYES, IDNO, 0},                // MB_YESNO
        {IDRETRY, IDCANCEL, 0},          // MB_RETRYCANCEL
    };
    const UINT type = style & MB_TYPEMASK;
    const int* row = buttons[type < 6 ? type : 0];
    const UINT index = (style & MB_DEFMASK) >> 8;
    // A default beyond the box's buttons falls back to the first, as on the platform.
    return index < 3 && row[index] != 0 ? row[index] : row[0];
}

}  // namespace emu
