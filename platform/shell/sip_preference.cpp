// The input-panel preference control of dialog templates (WC_SIPPREF). It shows nothing; it
// hears from its dialog whenever the focus moved between the dialog's controls and asks for the
// panel while an edit field has the focus.
#include "platform/shell/shell_state.h"

#include <cwctype>

namespace {

bool isEditField(HWND window)
{
    WCHAR name[16]{};
    const int length = GetClassNameW(window, name, 16);
    const std::u16string_view edit = WC_EDITW;
    if (length != static_cast<int>(edit.size())) return false;
    for (int i = 0; i < length; ++i)
        if (std::towupper(static_cast<wint_t>(name[i])) != static_cast<wint_t>(edit[static_cast<size_t>(i)])) return false;
    return true;
}

void followFocus(HWND control)
{
    const HWND dialog = GetParent(control);
    const HWND focus = GetFocus();
    // The focus went to another window altogether: that window has its own wishes.
    if (dialog == nullptr || focus == nullptr || !IsChild(dialog, focus)) return;
    SHSipPreference(dialog, isEditField(focus) ? SIP_UP : SIP_DOWN);
}

LRESULT CALLBACK sipPreferenceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        if (shell::ShellWindow* dialog = shell::trackWindow(GetParent(window))) dialog->sipPreference = window;
        // The dialog sets its first focus after its controls exist.
        PostMessageW(window, shell::focusMovedMessage, 0, 0);
        return 0;
    case shell::focusMovedMessage:
        followFocus(window);
        return 0;
    case WM_DESTROY:
        if (shell::ShellWindow* dialog = shell::findShellWindow(GetParent(window)))
            if (dialog->sipPreference == window) dialog->sipPreference = nullptr;
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

BOOL WINAPI SHInitExtraControls(void)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = sipPreferenceProc;
    wc.lpszClassName = WC_SIPPREF;
    RegisterClassW(&wc);
    return TRUE;
}
