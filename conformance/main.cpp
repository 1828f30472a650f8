// The conformance program: runs every case and prints what it observes, one fact a line. Built
// unchanged for a reference Win32 and for our platform; the two outputs are compared line by line.
#include "conformance/cases.h"
#include "conformance/record.h"

#ifdef _WIN32
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
#else
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
#endif
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_TREEVIEW_CLASSES;
    InitCommonControlsEx(&controls);
    if (!conformance::registerFrameClass(instance))
        return 1;
    conformance::windowCases();
    conformance::dialogCases();
    conformance::listBoxCases();
    conformance::comboBoxCases();
    conformance::editCases();
    conformance::treeViewCases();
    conformance::buttonCases();
    conformance::textCases();
    conformance::beginCase("end");
    return 0;
}
