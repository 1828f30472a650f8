#include "platform/controls/control_classes.h"
#include "win32/commctrl.h"

void registerStandardControls()
{
    // Registered once per run of the window manager; a class that exists already is kept.
    WNDCLASSW existing{};
    if (GetClassInfoW(nullptr, WC_LISTBOXW, &existing))
        return;
    controls::registerStaticClass();
    controls::registerButtonClass();
    controls::registerEditClass();
    controls::registerListBoxClass();
    controls::registerComboBoxClass();
    controls::registerTreeViewClass();
}

void WINAPI InitCommonControls(void)
{
    registerStandardControls();
}

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce)
{
    if (picce == nullptr || picce->dwSize != sizeof(INITCOMMONCONTROLSEX))
        return FALSE;
    registerStandardControls();
    return TRUE;
}
