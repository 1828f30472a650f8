// The window procedures of the standard controls, one file each; registerStandardControls
// registers their classes once.
#pragma once

#include "win32.h"

namespace controls {

LRESULT CALLBACK staticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK buttonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK listProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK comboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK treeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace controls
