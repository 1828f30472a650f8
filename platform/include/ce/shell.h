// Pocket PC shell services: dialog initialisation, full screen, the Done button, window switches
// and settings changes, tap-and-hold, and the shell's extra dialog controls. Implemented by
// platform/shell; the host starts the shell for handheld programs (platform/shell/shell.h).
#pragma once

#include "win32.h"

// ---------------------------------------------------------------------------------------------
// Dialog initialisation

#define SHIDIM_FLAGS 0x0001

#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010
#define SHIDIF_EMPTYMENU 0x0020
#define SHIDIF_WANTSCROLLBAR 0x0040

typedef struct tagSHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
} SHINITDLGINFO, *PSHINITDLGINFO;

// SHIDIF_SIZEDLGFULLSCREEN places the dialog on the whole screen below the task bar strip's
// place (the strip's 26 pixels stay reserved whether the strip is shown or hidden, so a screen
// does not jump when it comes and goes); SHIDIF_SIZEDLG does the same but ends above the input
// panel while it is up and follows it. Without SHIDIF_FULLSCREENNOMENUBAR the menu bar's strip
// at the bottom stays free. SHIDIF_DONEBUTTON puts the "ok" button into the task bar while the
// dialog is in front; tapping it posts WM_COMMAND IDOK. Sized dialogs follow rotation.
// FALSE with ERROR_INVALID_PARAMETER for a null record or a dead dialog.
BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi);

// ---------------------------------------------------------------------------------------------
// Full screen and the Done button

#define SHFS_SHOWTASKBAR 0x0001
#define SHFS_HIDETASKBAR 0x0002
#define SHFS_SHOWSIPBUTTON 0x0004
#define SHFS_HIDESIPBUTTON 0x0008
#define SHFS_SHOWSTARTICON 0x0010
#define SHFS_HIDESTARTICON 0x0020

// Hides or shows the task bar strip and the input panel's button for everyone (the device runs
// one program). The requester's window is not moved: the program sizes itself. While the strip is
// hidden the work area (CW_USEDEFAULT, SM_CYFULLSCREEN) is the whole screen. The start icon flags
// are accepted; the strip has no start icon.
BOOL WINAPI SHFullScreen(HWND hwndRequester, DWORD dwState);

#define SHDB_SHOW 0x0001
#define SHDB_HIDE 0x0002

// Shows or hides the "ok" button of a top-level window (it is drawn while the window is in front).
BOOL WINAPI SHDoneButton(HWND hwndRequester, DWORD dwState);

// ---------------------------------------------------------------------------------------------
// Window switches and settings changes

// The program keeps one per window; the shell records the panel and the focus in it.
typedef struct tagSHACTIVATEINFO {
    DWORD cbSize;
    HWND hwndLastFocus;
    UINT fSipUp : 1;
    UINT fSipOnDeactivation : 1;
    UINT fActive : 1;
    UINT fReserved : 29;
} SHACTIVATEINFO, *PSHACTIVATEINFO;

#define SHA_INPUTDIALOG 0x00000001

// For WM_ACTIVATE. Losing activation records whether the input panel was up and which child had
// the focus; regaining it puts the panel back the way it was and the focus back on that child.
// SHA_INPUTDIALOG is accepted and changes nothing. FALSE for a null record.
BOOL WINAPI SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* psai, DWORD dwFlags);
// For WM_SETTINGCHANGE. When the input panel moved (SPI_SETSIPINFO) and the window is in front,
// its bottom is moved to the panel's top (panel up) or to the bottom of the screen (panel down);
// after a rotation (SETTINGCHANGE_RESET) the window is also widened to the new work area. Child
// windows are left alone. FALSE for a null record.
BOOL WINAPI SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* psai);

// ---------------------------------------------------------------------------------------------
// Tap-and-hold

typedef struct tagSHRGI {
    DWORD cbSize;
    HWND hwndClient;
    POINT ptDown;  // client coordinates of hwndClient
    DWORD dwFlags;
} SHRGINFO, *PSHRGINFO;

#define SHRG_RETURNCMD 0x00000001
#define SHRG_NOTIFYPARENT 0x00000002
#define SHRG_LONGDELAY 0x00000008
#define SHRG_NOANIMATION 0x00000010

#ifndef GN_CONTEXTMENU
#define GN_CONTEXTMENU 1000
typedef struct tagNMRGINFO {
    NMHDR hdr;
    POINT ptAction;  // screen coordinates
    DWORD dwItemSpec;
} NMRGINFO, *PNMRGINFO;
#endif

// Called on WM_LBUTTONDOWN: waits while the stylus stays down within 5 pixels of ptDown, drawing
// the red dots around it (unless SHRG_NOANIMATION). Held for 500 ms (1000 ms with SHRG_LONGDELAY)
// it is a tap-and-hold: GN_CONTEXTMENU is returned and, unless SHRG_RETURNCMD, WM_NOTIFY with
// NMRGINFO goes to hwndClient (to its parent with SHRG_NOTIFYPARENT). A move beyond that or
// lifting the stylus first gives 0 and leaves that stylus message queued for the caller. Other
// messages that arrive meanwhile are dispatched. 0 with ERROR_INVALID_PARAMETER for a bad record.
DWORD WINAPI SHRecognizeGesture(SHRGINFO* shrg);

// ---------------------------------------------------------------------------------------------
// Extra dialog controls

// The input-panel preference control of dialog templates: an invisible child that raises the
// panel while an edit field of its dialog has the focus and lowers it when the focus moves to
// another kind of control.
#define WC_SIPPREF u"SIPPREF"

// Registers WC_SIPPREF; TRUE (also when called again).
BOOL WINAPI SHInitExtraControls(void);
