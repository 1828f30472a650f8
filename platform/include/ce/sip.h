// The soft input panel: a keyboard at the bottom of the screen with Russian, Latin and digit
// layouts whose taps type into the focus window. Implemented by platform/shell.
#pragma once

#include "win32.h"

#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#define SIPF_DOCKED 0x00000002
#define SIPF_LOCKED 0x00000004

// wParam of the WM_SETTINGCHANGE posted to the program's top-level windows whenever the panel
// goes up or down, and after the screen has turned.
#define SPI_SETSIPINFO 224
#define SPI_GETSIPINFO 225
#define SETTINGCHANGE_RESET 0x3002

typedef struct tagSIPINFO {
    DWORD cbSize;
    DWORD fdwFlags;
    RECT rcVisibleDesktop;  // the screen less the shown task bar strip and the shown panel
    RECT rcSipRect;         // where the panel is (or would be) on the screen
    DWORD dwImDataSize;
    void* pvImData;
} SIPINFO, *PSIPINFO;

// Deviation: on the 32-bit device the record is 48 bytes; on the host pvImData is wider. Both
// sizes are accepted in cbSize: with 48 the fields up to dwImDataSize are used. Other sizes give
// FALSE and ERROR_INVALID_PARAMETER. The panel has no input method data (size 0, null).
BOOL WINAPI SipGetInfo(SIPINFO* pSipInfo);
// Only SIPF_ON of fdwFlags is taken: the panel goes up or down. The rectangles are the shell's.
BOOL WINAPI SipSetInfo(SIPINFO* pSipInfo);
// SIPF_ON raises the panel, SIPF_OFF lowers it.
BOOL WINAPI SipShowIM(DWORD dwFlag);

typedef enum tagSIPSTATE {
    SIP_UP = 0,
    SIP_DOWN,
    SIP_FORCEUP,
    SIP_FORCEDOWN,
    SIP_UNCHANGED,
    SIP_INPUTDIALOG,
} SIPSTATE;

// SIP_UP and SIP_FORCEUP raise the panel at once. SIP_DOWN lowers it once the messages already
// queued have been handled, unless an SIP_UP comes first (moving between two edit fields does not
// make it flicker); SIP_FORCEDOWN lowers it at once. FALSE with ERROR_INVALID_WINDOW_HANDLE for a
// dead window.
BOOL WINAPI SHSipPreference(HWND hwnd, SIPSTATE st);
