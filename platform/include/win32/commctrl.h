// Common controls: the tree view ("SysTreeView32"), with the notification records and custom
// drawing it uses. Values and layouts are the platform's; the text functions are the UTF-16 ones
// (TCHAR is WCHAR), and the ...A messages are not implemented.
#pragma once

#include "win32/types.h"
#include "win32/gdi.h"
#include "win32/controls.h"
#include "win32/ui.h"

#include <cstring>

// ---------------------------------------------------------------------------------------------
// Initialisation. Both register the tree view (with the standard controls); they always succeed.
typedef struct tagINITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;
#define ICC_LISTVIEW_CLASSES 0x00000001
#define ICC_TREEVIEW_CLASSES 0x00000002
#define ICC_BAR_CLASSES 0x00000004
#define ICC_TAB_CLASSES 0x00000008
#define ICC_UPDOWN_CLASS 0x00000010
#define ICC_PROGRESS_CLASS 0x00000020
#define ICC_DATE_CLASSES 0x00000100
void WINAPI InitCommonControls(void);
BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce);

// ---------------------------------------------------------------------------------------------
// Notification codes shared by the common controls (WM_NOTIFY, NMHDR.code).
#define NM_FIRST (0U - 0U)
#define NM_OUTOFMEMORY (NM_FIRST - 1)
#define NM_CLICK (NM_FIRST - 2)
#define NM_DBLCLK (NM_FIRST - 3)
#define NM_RETURN (NM_FIRST - 4)
#define NM_RCLICK (NM_FIRST - 5)
#define NM_RDBLCLK (NM_FIRST - 6)
#define NM_SETFOCUS (NM_FIRST - 7)
#define NM_KILLFOCUS (NM_FIRST - 8)
#define NM_CUSTOMDRAW (NM_FIRST - 12)
#define NM_KEYDOWN (NM_FIRST - 15)
// Pocket PC: asked of the parent when the stylus goes down; a parent that answers TRUE does not
// want tap-and-hold recognised. Otherwise holding the stylus still sends GN_CONTEXTMENU.
#define NM_RECOGNIZEGESTURE (NM_FIRST - 16)

#define TVN_FIRST (0U - 400U)
#define TVN_LAST (0U - 499U)

// ---------------------------------------------------------------------------------------------
// Custom drawing.
#define CDDS_PREPAINT 0x00000001
#define CDDS_POSTPAINT 0x00000002
#define CDDS_PREERASE 0x00000003
#define CDDS_POSTERASE 0x00000004
#define CDDS_ITEM 0x00010000
#define CDDS_ITEMPREPAINT (CDDS_ITEM | CDDS_PREPAINT)
#define CDDS_ITEMPOSTPAINT (CDDS_ITEM | CDDS_POSTPAINT)
#define CDDS_SUBITEM 0x00020000

#define CDRF_DODEFAULT 0x00000000
#define CDRF_NEWFONT 0x00000002
#define CDRF_SKIPDEFAULT 0x00000004
#define CDRF_NOTIFYPOSTPAINT 0x00000010
#define CDRF_NOTIFYITEMDRAW 0x00000020
#define CDRF_NOTIFYSUBITEMDRAW 0x00000020
#define CDRF_NOTIFYPOSTERASE 0x00000040

#define CDIS_SELECTED 0x0001
#define CDIS_GRAYED 0x0002
#define CDIS_DISABLED 0x0004
#define CDIS_CHECKED 0x0008
#define CDIS_FOCUS 0x0010
#define CDIS_DEFAULT 0x0020
#define CDIS_HOT 0x0040

typedef struct tagNMCUSTOMDRAWINFO {
    NMHDR hdr;
    DWORD dwDrawStage;
    HDC hdc;
    RECT rc;
    DWORD_PTR dwItemSpec;
    UINT uItemState;
    LPARAM lItemlParam;
} NMCUSTOMDRAW, *LPNMCUSTOMDRAW;

// ---------------------------------------------------------------------------------------------
// Tree view.
#define WC_TREEVIEWW u"SysTreeView32"
#define WC_TREEVIEW WC_TREEVIEWW

struct _TREEITEM;
typedef struct _TREEITEM* HTREEITEM;

#define TVS_HASBUTTONS 0x0001
#define TVS_HASLINES 0x0002
#define TVS_LINESATROOT 0x0004
#define TVS_EDITLABELS 0x0008
#define TVS_DISABLEDRAGDROP 0x0010
#define TVS_SHOWSELALWAYS 0x0020
#define TVS_NOTOOLTIPS 0x0080
#define TVS_CHECKBOXES 0x0100
#define TVS_TRACKSELECT 0x0200
#define TVS_SINGLEEXPAND 0x0400
#define TVS_FULLROWSELECT 0x1000
#define TVS_NOSCROLL 0x2000

#define TVIF_TEXT 0x0001
#define TVIF_IMAGE 0x0002
#define TVIF_PARAM 0x0004
#define TVIF_STATE 0x0008
#define TVIF_HANDLE 0x0010
#define TVIF_SELECTEDIMAGE 0x0020
#define TVIF_CHILDREN 0x0040

#define TVIS_SELECTED 0x0002
#define TVIS_CUT 0x0004
#define TVIS_DROPHILITED 0x0008
#define TVIS_BOLD 0x0010
#define TVIS_EXPANDED 0x0020
#define TVIS_EXPANDEDONCE 0x0040

#define I_CHILDRENCALLBACK (-1)
#define LPSTR_TEXTCALLBACKW ((LPWSTR)(LONG_PTR) - 1)
#define LPSTR_TEXTCALLBACK LPSTR_TEXTCALLBACKW

#define TVI_ROOT ((HTREEITEM)(ULONG_PTR) - 0x10000)
#define TVI_FIRST ((HTREEITEM)(ULONG_PTR) - 0x0FFFF)
#define TVI_LAST ((HTREEITEM)(ULONG_PTR) - 0x0FFFE)
#define TVI_SORT ((HTREEITEM)(ULONG_PTR) - 0x0FFFD)

typedef struct tagTVITEMW {
    UINT mask;
    HTREEITEM hItem;
    UINT state;
    UINT stateMask;
    LPWSTR pszText;
    int cchTextMax;
    int iImage;
    int iSelectedImage;
    int cChildren;
    LPARAM lParam;
} TVITEMW, *LPTVITEMW;
typedef TVITEMW TVITEM;
typedef LPTVITEMW LPTVITEM;
typedef TVITEMW TV_ITEM;

typedef struct tagTVITEMEXW {
    UINT mask;
    HTREEITEM hItem;
    UINT state;
    UINT stateMask;
    LPWSTR pszText;
    int cchTextMax;
    int iImage;
    int iSelectedImage;
    int cChildren;
    LPARAM lParam;
    int iIntegral;
} TVITEMEXW, *LPTVITEMEXW;
typedef TVITEMEXW TVITEMEX;

typedef struct tagTVINSERTSTRUCTW {
    HTREEITEM hParent;
    HTREEITEM hInsertAfter;
    union {
        TVITEMEXW itemex;
        TVITEMW item;
    };
} TVINSERTSTRUCTW, *LPTVINSERTSTRUCTW;
typedef TVINSERTSTRUCTW TVINSERTSTRUCT;
typedef LPTVINSERTSTRUCTW LPTVINSERTSTRUCT;
typedef TVINSERTSTRUCTW TV_INSERTSTRUCT;

#define TVE_COLLAPSE 0x0001
#define TVE_EXPAND 0x0002
#define TVE_TOGGLE 0x0003
#define TVE_COLLAPSERESET 0x8000

#define TVGN_ROOT 0x0000
#define TVGN_NEXT 0x0001
#define TVGN_PREVIOUS 0x0002
#define TVGN_PARENT 0x0003
#define TVGN_CHILD 0x0004
#define TVGN_FIRSTVISIBLE 0x0005
#define TVGN_NEXTVISIBLE 0x0006
#define TVGN_PREVIOUSVISIBLE 0x0007
#define TVGN_DROPHILITE 0x0008
#define TVGN_CARET 0x0009
#define TVGN_LASTVISIBLE 0x000A

#define TVC_UNKNOWN 0x0000
#define TVC_BYMOUSE 0x0001
#define TVC_BYKEYBOARD 0x0002

#define TVHT_NOWHERE 0x0001
#define TVHT_ONITEMICON 0x0002
#define TVHT_ONITEMLABEL 0x0004
#define TVHT_ONITEMSTATEICON 0x0040
#define TVHT_ONITEM (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)
#define TVHT_ONITEMINDENT 0x0008
#define TVHT_ONITEMBUTTON 0x0010
#define TVHT_ONITEMRIGHT 0x0020
#define TVHT_ABOVE 0x0100
#define TVHT_BELOW 0x0200
#define TVHT_TORIGHT 0x0400
#define TVHT_TOLEFT 0x0800

typedef struct tagTVHITTESTINFO {
    POINT pt;
    UINT flags;
    HTREEITEM hItem;
} TVHITTESTINFO, *LPTVHITTESTINFO;

#define TV_FIRST 0x1100
#define TVM_DELETEITEM (TV_FIRST + 1)
#define TVM_EXPAND (TV_FIRST + 2)
#define TVM_GETITEMRECT (TV_FIRST + 4)
#define TVM_GETCOUNT (TV_FIRST + 5)
#define TVM_GETINDENT (TV_FIRST + 6)
#define TVM_SETINDENT (TV_FIRST + 7)
#define TVM_GETNEXTITEM (TV_FIRST + 10)
#define TVM_SELECTITEM (TV_FIRST + 11)
#define TVM_GETVISIBLECOUNT (TV_FIRST + 16)
#define TVM_HITTEST (TV_FIRST + 17)
#define TVM_SORTCHILDREN (TV_FIRST + 19)
#define TVM_ENSUREVISIBLE (TV_FIRST + 20)
#define TVM_SETITEMHEIGHT (TV_FIRST + 27)
#define TVM_GETITEMHEIGHT (TV_FIRST + 28)
#define TVM_SETBKCOLOR (TV_FIRST + 29)
#define TVM_SETTEXTCOLOR (TV_FIRST + 30)
#define TVM_GETBKCOLOR (TV_FIRST + 31)
#define TVM_GETTEXTCOLOR (TV_FIRST + 32)
#define TVM_INSERTITEMW (TV_FIRST + 50)
#define TVM_GETITEMW (TV_FIRST + 62)
#define TVM_SETITEMW (TV_FIRST + 63)
#define TVM_INSERTITEM TVM_INSERTITEMW
#define TVM_GETITEM TVM_GETITEMW
#define TVM_SETITEM TVM_SETITEMW

#define TVN_SELCHANGINGW (TVN_FIRST - 50)
#define TVN_SELCHANGEDW (TVN_FIRST - 51)
#define TVN_GETDISPINFOW (TVN_FIRST - 52)
#define TVN_ITEMEXPANDINGW (TVN_FIRST - 54)
#define TVN_ITEMEXPANDEDW (TVN_FIRST - 55)
#define TVN_BEGINDRAGW (TVN_FIRST - 56)
#define TVN_DELETEITEMW (TVN_FIRST - 58)
#define TVN_KEYDOWN (TVN_FIRST - 12)
#define TVN_SELCHANGING TVN_SELCHANGINGW
#define TVN_SELCHANGED TVN_SELCHANGEDW
#define TVN_GETDISPINFO TVN_GETDISPINFOW
#define TVN_ITEMEXPANDING TVN_ITEMEXPANDINGW
#define TVN_ITEMEXPANDED TVN_ITEMEXPANDEDW
#define TVN_BEGINDRAG TVN_BEGINDRAGW
#define TVN_DELETEITEM TVN_DELETEITEMW

typedef struct tagNMTREEVIEWW {
    NMHDR hdr;
    UINT action;
    TVITEMW itemOld;
    TVITEMW itemNew;
    POINT ptDrag;
} NMTREEVIEWW, *LPNMTREEVIEWW;
typedef NMTREEVIEWW NMTREEVIEW;
typedef LPNMTREEVIEWW LPNMTREEVIEW;
typedef NMTREEVIEWW NM_TREEVIEW;

// The platform packs this record to one byte.
#pragma pack(push, 1)
typedef struct tagTVKEYDOWN {
    NMHDR hdr;
    WORD wVKey;
    UINT flags;
} NMTVKEYDOWN, *LPNMTVKEYDOWN;
#pragma pack(pop)
typedef NMTVKEYDOWN TV_KEYDOWN;

typedef struct tagNMTVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText;
    COLORREF clrTextBk;
    int iLevel;
} NMTVCUSTOMDRAW, *LPNMTVCUSTOMDRAW;

typedef struct tagNMTVDISPINFOW {
    NMHDR hdr;
    TVITEMW item;
} NMTVDISPINFOW, *LPNMTVDISPINFOW;
typedef NMTVDISPINFOW NMTVDISPINFO;

// Tap-and-hold (Pocket PC shell), sent by the tree view to its parent as WM_NOTIFY.
#ifndef GN_CONTEXTMENU
#define GN_CONTEXTMENU 1000
typedef struct tagNMRGINFO {
    NMHDR hdr;
    POINT ptAction; // screen coordinates
    DWORD dwItemSpec;
} NMRGINFO, *PNMRGINFO;
#endif

// Message helpers of the platform's header, as functions so that an unused answer is no warning.
inline HTREEITEM TreeView_InsertItem(HWND hwnd, const TVINSERTSTRUCTW* lpis)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(lpis)));
}
inline BOOL TreeView_DeleteItem(HWND hwnd, HTREEITEM hitem)
{
    return static_cast<BOOL>(SendMessageW(hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hitem)));
}
inline BOOL TreeView_DeleteAllItems(HWND hwnd)
{
    return TreeView_DeleteItem(hwnd, TVI_ROOT);
}
inline BOOL TreeView_Expand(HWND hwnd, HTREEITEM hitem, UINT code)
{
    return static_cast<BOOL>(SendMessageW(hwnd, TVM_EXPAND, code, reinterpret_cast<LPARAM>(hitem)));
}
inline HTREEITEM TreeView_GetNextItem(HWND hwnd, HTREEITEM hitem, UINT code)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(hitem)));
}
inline HTREEITEM TreeView_GetChild(HWND hwnd, HTREEITEM hitem)
{
    return TreeView_GetNextItem(hwnd, hitem, TVGN_CHILD);
}
inline HTREEITEM TreeView_GetNextSibling(HWND hwnd, HTREEITEM hitem)
{
    return TreeView_GetNextItem(hwnd, hitem, TVGN_NEXT);
}
inline HTREEITEM TreeView_GetPrevSibling(HWND hwnd, HTREEITEM hitem)
{
    return TreeView_GetNextItem(hwnd, hitem, TVGN_PREVIOUS);
}
inline HTREEITEM TreeView_GetParent(HWND hwnd, HTREEITEM hitem)
{
    return TreeView_GetNextItem(hwnd, hitem, TVGN_PARENT);
}
inline HTREEITEM TreeView_GetNextVisible(HWND hwnd, HTREEITEM hitem)
{
    return TreeView_GetNextItem(hwnd, hitem, TVGN_NEXTVISIBLE);
}
inline HTREEITEM TreeView_GetPrevVisible(HWND hwnd, HTREEITEM hitem)
{
    return TreeView_GetNextItem(hwnd, hitem, TVGN_PREVIOUSVISIBLE);
}
inline HTREEITEM TreeView_GetSelection(HWND hwnd)
{
    return TreeView_GetNextItem(hwnd, nullptr, TVGN_CARET);
}
inline HTREEITEM TreeView_GetRoot(HWND hwnd)
{
    return TreeView_GetNextItem(hwnd, nullptr, TVGN_ROOT);
}
inline BOOL TreeView_Select(HWND hwnd, HTREEITEM hitem, UINT code)
{
    return static_cast<BOOL>(SendMessageW(hwnd, TVM_SELECTITEM, code, reinterpret_cast<LPARAM>(hitem)));
}
inline BOOL TreeView_SelectItem(HWND hwnd, HTREEITEM hitem)
{
    return TreeView_Select(hwnd, hitem, TVGN_CARET);
}
inline BOOL TreeView_GetItem(HWND hwnd, TVITEMW* pitem)
{
    return static_cast<BOOL>(SendMessageW(hwnd, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(pitem)));
}
inline BOOL TreeView_SetItem(HWND hwnd, const TVITEMW* pitem)
{
    return static_cast<BOOL>(SendMessageW(hwnd, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(pitem)));
}
inline UINT TreeView_GetCount(HWND hwnd)
{
    return static_cast<UINT>(SendMessageW(hwnd, TVM_GETCOUNT, 0, 0));
}
inline HTREEITEM TreeView_HitTest(HWND hwnd, TVHITTESTINFO* lpht)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(lpht)));
}
inline BOOL TreeView_SortChildren(HWND hwnd, HTREEITEM hitem, BOOL recurse)
{
    return static_cast<BOOL>(SendMessageW(hwnd, TVM_SORTCHILDREN, static_cast<WPARAM>(recurse), reinterpret_cast<LPARAM>(hitem)));
}
// The item travels in the first bytes of the rectangle, as the platform's message defines it.
inline BOOL TreeView_GetItemRect(HWND hwnd, HTREEITEM hitem, RECT* prc, BOOL fItemRect)
{
    std::memcpy(prc, &hitem, sizeof hitem);
    return static_cast<BOOL>(SendMessageW(hwnd, TVM_GETITEMRECT, static_cast<WPARAM>(fItemRect), reinterpret_cast<LPARAM>(prc)));
}
inline BOOL TreeView_EnsureVisible(HWND hwnd, HTREEITEM hitem)
{
    return static_cast<BOOL>(SendMessageW(hwnd, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(hitem)));
}
