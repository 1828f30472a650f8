// The HTML viewer control (window class "DISPLAYCLASS"): shows 8-bit HTML text and files of the
// device file system, jumps to named anchors, scrolls by stylus, keys and scroll bar, and tells its
// parent of every tapped link before it follows the link itself.
//
// Values are the platform's. Deviations: only the messages below exist; DTM_NAVIGATE knows
// file:// addresses of the device file system only (other schemes are left to the parent, which
// saw the link in NM_HOTSPOT); pictures are BMP and PNG files (others show their alt text).
#pragma once

#include "win32.h"

#define WC_HTMLW u"DISPLAYCLASS"
#define WC_HTML WC_HTMLW

// Registers the class for the program. TRUE on success, also when it is registered already.
BOOL WINAPI InitHTMLControl(HINSTANCE hinst);

// wParam: TRUE when the text is plain (it is shown as it is, not read as markup).
// lParam: zero-terminated 8-bit text, appended to the source. The page's meta tag names its code
// page (windows-1251 and utf-8 are known); without one it is code page 1251.
#define DTM_ADDTEXT (WM_USER + 101)
// The source is complete: the page is laid out and shown.
#define DTM_ENDOFSOURCE (WM_USER + 104)
// lParam: zero-terminated 8-bit anchor name (a leading '#' is allowed). Scrolls it to the top;
// an unknown name leaves the view where it is. Asked before the source is complete, it is
// carried out when it is.
#define DTM_ANCHOR (WM_USER + 105)
// Empties the view and forgets the source.
#define DTM_CLEAR (WM_USER + 113)
// lParam: the UTF-16 address, "file://" and a device path, an optional "#anchor" at its end. A
// relative address (a link target as a page wrote it) is taken relative to the last page the view
// read, even after text was added since. The page replaces the view's content once read; when it
// cannot be read the content stays.
// Answers TRUE when the page was shown.
#define DTM_NAVIGATE (WM_USER + 120)

// Notifications (WM_NOTIFY to the parent, an NM_HTMLVIEW record).
// A link was tapped; szTarget is its href as written in the page, in code page 1251. A parent
// that answers non-zero has handled it; with 0 the control follows the link: "#name" scrolls,
// other targets are resolved against the current page and navigated to.
#define NM_HOTSPOT (WM_USER + 101)

typedef struct tagNM_HTMLVIEW {
    NMHDR hdr;
    LPCSTR szTarget;
    LPCSTR szData;
    DWORD dwCookie;
} NM_HTMLVIEW;
