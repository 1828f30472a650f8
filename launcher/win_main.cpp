// Vantory's start: the window, the pictures, the launcher's folder, then the message loop.
#include "launcher/choice.h"
#include "launcher/main_window.h"
#include "resources/launcher/launcher_ids.h"

namespace {

constexpr int resourceTextCapacity = 100;

// IDC_ARROW in the spelling an ANSI program needs whatever the character set of the build.
const LPCSTR arrowCursor = MAKEINTRESOURCEA(32512);

ATOM registerLauncherClass(HINSTANCE instance, const char* className)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = launcherWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VANTORY));
    windowClass.hCursor = LoadCursorA(nullptr, arrowCursor);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className;
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SMALL));
    return RegisterClassExA(&windowClass);
}

HWND createLauncherWindow(HINSTANCE instance, const char* className, const char* title)
{
    // Signed on purpose: on a screen smaller than the window the origin goes negative and
    // the window stays centred instead of landing far off to the right.
    int x = centredOrigin(GetSystemMetrics(SM_CXFULLSCREEN), launcherWindowWidth);
    int y = centredOrigin(GetSystemMetrics(SM_CYFULLSCREEN), launcherWindowHeight);
    HWND window = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, x, y, launcherWindowWidth,
                                  launcherWindowHeight, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return nullptr;
    LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, style & ~static_cast<LONG>(WS_THICKFRAME | WS_MAXIMIZEBOX));
    return window;
}

void loadPictures(HINSTANCE instance)
{
    launcherState.background = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_BACKGROUND));
    for (ButtonEntry& button : launcherState.buttons) {
        button.normal = LoadBitmapA(instance, MAKEINTRESOURCEA(button.normalBitmapId));
        button.highlighted = LoadBitmapA(instance, MAKEINTRESOURCEA(button.highlightedBitmapId));
    }
}

void findLauncherFolder()
{
    char path[pathCapacity];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A path that filled the buffer was cut short (and may be unterminated): its folder is unknown.
    if (length == 0 || length >= sizeof path)
        path[0] = '\0';
    setLauncherFolder(launcherState, path);
}

int runMessageLoop(HWND window, HACCEL accelerators)
{
    MSG message;
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got == -1)
            return 0;
        if (accelerators == nullptr || !TranslateAcceleratorA(window, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    char title[resourceTextCapacity] = "";
    char className[resourceTextCapacity] = "";
    LoadStringA(instance, IDS_APP_TITLE, title, resourceTextCapacity);
    LoadStringA(instance, IDS_WINDOW_CLASS, className, resourceTextCapacity);

    resetLauncherState(launcherState);
    launcherState.instance = instance;
    registerLauncherClass(instance, className);
    HWND window = createLauncherWindow(instance, className, title);
    if (window == nullptr)
        return 0;

    loadPictures(instance);
    findLauncherFolder();
    launcherState.setupCommand[0] = '\0';
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDC_VANTORY));
    return runMessageLoop(window, accelerators);
}
