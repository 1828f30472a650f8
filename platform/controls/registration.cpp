#include "platform/controls/control_base.h"
#include "platform/controls/control_classes.h"
#include "win32/commctrl.h"

void registerStandardControls()
{
    // Registered once per run of the window manager; a class that exists already is kept.
    WNDCLASSW existing{};
    if (GetClassInfoW(nullptr, WC_LISTBOXW, &existing))
        return;
    struct StandardControl {
        LPCWSTR name;
        WNDPROC procedure;
    };
    const StandardControl standardControls[] = {
        {WC_STATICW, controls::staticProc},
        {WC_BUTTONW, controls::buttonProc},
        {WC_EDITW, controls::editProc},
        {WC_LISTBOXW, controls::listProc},
        {WC_COMBOBOXW, controls::comboProc},
        {WC_TREEVIEWW, controls::treeProc},
    };
    // Each keeps its state record in its window's extra bytes.
    for (const StandardControl& control : standardControls)
        controls::registerControlClass(control.name, control.procedure, CS_DBLCLKS, controls::stateExtraBytes);
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
