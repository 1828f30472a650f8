// The handheld program's own program-wide state: made at start-up, read by every screen. (The
// database choices and the current database are the reader's: databaseProgram.)
#pragma once

#include "ce.h"
#include "shell/text_styles.h"
#include "win32.h"

constexpr int shellBufferBytes = 2048;
constexpr int programFolderCapacity = 512;
constexpr int databaseTitleCharacters = 80;
constexpr int variantIconCount = 7;
// A screen closed by the home button leaves this in returnHomeMarker.
constexpr int returnHomeValue = 189;
// lParam: the firm-list reference; wParam: the rubric index.
constexpr UINT openFirmListMessage = WM_USER + 100;

struct ShellState {
    HINSTANCE instanceHandle;
    HWND mainWindow;
    // Shared scratch text: 1024 UTF-16 characters or 2048 bytes; nothing survives an operation.
    char* shellBuffer;
    HMODULE phoneLibrary;
    PHONEMAKECALL phoneMakeCall;
    WCHAR programFolder[programFolderCapacity + 1];
    WCHAR databaseTitle[databaseTitleCharacters + 1];
    TextStyle textStyles[textStyleCount];
    // The pictures of the two cities' variants: [0] tile 8's, [1] 271, [2] tile 35's, [3] 273,
    // [4] tile 6's, [5] 281, [6] the favourite slot's bitmap 270.
    HANDLE variantIcons[variantIconCount];
    // 1 after the program raised the soft input panel, 0 after it lowered it or found it down.
    bool inputPanelUp;

    // The home screen's.
    int homePageIndex;  // 0-2, or the negated page (-3 for 0) while an HTML page covers it
    int selectedTile;   // -1: none
    int returnHomeMarker;
    SHACTIVATEINFO shellWindowState;
    HFONT savedFont;
    bool savedFontTaken;
};

// The one instance.
extern ShellState shellState;

// TextStyle n of the description (1-12).
inline TextStyle& textStyle(int n) { return shellState.textStyles[n - 1]; }
