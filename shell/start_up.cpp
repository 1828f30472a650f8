#include "shell/start_up.h"

#include "ce.h"
#include "db/discovery.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/button_bar.h"
#include "shell/city_variant.h"
#include "shell/favourites.h"
#include "shell/home_screen.h"
#include "shell/shell_state.h"
#include "shell/tile_table.h"

#include <cstdio>

namespace {

constexpr int resourceTextCapacity = 100;

// Another copy with our class and title is brought forward, with its last active owned window.
bool anotherCopyRuns(const WCHAR* className, const WCHAR* title)
{
    HWND other = FindWindowW(className, title);
    if (other == nullptr)
        return false;
    SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(other) | 1));
    return true;
}

bool registerMainClass(HINSTANCE instance, const WCHAR* className)
{
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_PARENTDC;
    windowClass.lpfnWndProc = homeScreenProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_DERNOLO));
    windowClass.lpszClassName = className;
    return RegisterClassW(&windowClass) != 0;
}

void loadTileIcons(HINSTANCE instance)
{
    const int standard = GetSystemMetrics(SM_CXICON);
    for (Tile& t : tileTable) {
        if (t.iconId == 0)
            continue;
        const int width = t.iconHeight == 32 ? standard : t.iconWidth;
        const int height = t.iconHeight == 32 ? standard : t.iconHeight;
        t.icon = static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(t.iconId), IMAGE_ICON, width, height, 0));
    }
}

HANDLE standardIcon(HINSTANCE instance, int id)
{
    const int size = GetSystemMetrics(SM_CXICON);
    return LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0);
}

void fillVariantIcons(HINSTANCE instance)
{
    shellState.variantIcons[0] = tileTable[8].icon;
    shellState.variantIcons[1] = standardIcon(instance, IDI_VARIANT_FINES);
    shellState.variantIcons[2] = tileTable[35].icon;
    shellState.variantIcons[3] = standardIcon(instance, IDI_VARIANT_EXACT_TIME);
    shellState.variantIcons[4] = tileTable[6].icon;
    shellState.variantIcons[5] = standardIcon(instance, IDI_VARIANT_PARTNER);
    shellState.variantIcons[6] = LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_FAVOURITE_SLOT));
}

void bindPhoneLibrary()
{
    shellState.phoneLibrary = LoadLibraryW(W("phone.dll"));
    shellState.phoneMakeCall = nullptr;
    if (shellState.phoneLibrary != nullptr)
        shellState.phoneMakeCall =
            reinterpret_cast<PHONEMAKECALL>(
                reinterpret_cast<void (*)()>(GetProcAddressW(shellState.phoneLibrary, W("PhoneMakeCall"))));
}

void findProgramFolder()
{
    if (!programFileFolder(shellState.programFolder, programFolderCapacity + 1))
        lstrcpyW(shellState.programFolder, installFolder);
}

} // namespace

void showDatabaseTitle()
{
    const DirectoryDatabase* db = databaseProgram.current;
    if (db == nullptr || db->title == nullptr || db->title[0] == 0 || shellState.shellBuffer == nullptr)
        return;
    std::snprintf(shellState.shellBuffer, shellBufferBytes, "%s", db->title);
    MultiByteToWideChar(CP_ACP, 0, shellState.shellBuffer, -1, shellState.databaseTitle, databaseTitleCharacters);
    shellState.databaseTitle[databaseTitleCharacters] = 0;
}

bool startUp(HINSTANCE instance, int showCommand)
{
    shellState.instanceHandle = instance;
    SHInitExtraControls();

    WCHAR title[resourceTextCapacity] = {};
    WCHAR className[resourceTextCapacity] = {};
    LoadStringW(instance, IDS_DERNOLO_TITLE, title, resourceTextCapacity);
    LoadStringW(instance, IDS_DERNOLO_CLASS, className, resourceTextCapacity);
    if (anotherCopyRuns(className, title))
        return false;
    if (!registerMainClass(instance, className))
        return false;

    resetButtonBar(buttonBar);
    resetTileTable(shellState.textStyles);
    tileTable[bannerTile].caption = shellState.databaseTitle;
    loadTileIcons(instance);
    fillVariantIcons(instance);

    HWND window = CreateWindowExW(0, className, title, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return false;
    shellState.mainWindow = window;
    databaseProgram.messageOwner = window;

    bindPhoneLibrary();
    shellState.shellBuffer = static_cast<char*>(LocalAlloc(LMEM_FIXED, shellBufferBytes));
    if (shellState.shellBuffer == nullptr)
        return false;
    findProgramFolder();

    takeMemoryReading();
    if (chooseStartDatabase() == nullptr)
        return false;
    showDatabaseTitle();

    makeTextStyles(shellState.textStyles, window);
    const DirectoryDatabase* db = databaseProgram.current;
    applyCityVariant(db != nullptr && cityLetter(*db) == secondCityLetter ? 1 : 0);
    loadFavourites();
    layoutTiles(window);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return true;
}

int runMessageLoop()
{
    HACCEL accelerators = LoadAcceleratorsW(shellState.instanceHandle, MAKEINTRESOURCEW(IDR_DERNOLO_ACCELERATORS));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (accelerators != nullptr && TranslateAcceleratorW(message.hwnd, accelerators, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
