// Dialog templates written as C++ data. A program's resources/ folder defines one DialogTemplate
// per dialog and registers it as an RT_DIALOG resource (data: the DialogTemplate, size: its
// sizeof); DialogBoxParam finds it by the dialog's identifier. The resource compiler's binary
// form (DLGTEMPLATE and DLGTEMPLATEEX) is read as well.
//
// Positions and sizes are in dialog units of the dialog's font: a horizontal unit is a quarter of
// the font's average character width, a vertical unit an eighth of its height.
#pragma once

#include "win32/types.h"

// Distinguishes the C++ form from the binary one, whose first double word is a style or 0xFFFF0001.
#define DIALOG_TEMPLATE_SIGNATURE 0x474C4443u

// Predefined control classes of the binary form, by their atoms.
#define DIALOG_CLASS_BUTTON 0x0080
#define DIALOG_CLASS_EDIT 0x0081
#define DIALOG_CLASS_STATIC 0x0082
#define DIALOG_CLASS_LISTBOX 0x0083
#define DIALOG_CLASS_SCROLLBAR 0x0084
#define DIALOG_CLASS_COMBOBOX 0x0085

struct DialogItemTemplate {
    const WCHAR* className;  // e.g. u"BUTTON"; a registered class of the program or a control
    const WCHAR* text;       // null: no text; for SS_ICON/SS_BITMAP statics "#123" names a resource
    WORD id;
    DWORD style;             // WS_CHILD is added when missing
    DWORD exStyle;
    short x, y, cx, cy;      // dialog units
};

struct DialogTemplate {
    DWORD signature;         // DIALOG_TEMPLATE_SIGNATURE
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;      // dialog units; the dialog's client area
    const WCHAR* caption;
    const WCHAR* className;  // null: the dialog class
    WORD pointSize;          // with DS_SETFONT: the font; otherwise the system font
    const WCHAR* faceName;
    const DialogItemTemplate* items;
    WORD itemCount;
};
