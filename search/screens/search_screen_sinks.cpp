#include "search/screens/search_screen_sinks.h"

#include "win32.h"
#include "win32/controls.h"

ComboCompletionSink::ComboCompletionSink(HWND combo) : box(combo)
{
    const int length = GetWindowTextW(box, typed, static_cast<int>(sizeof typed / sizeof typed[0]));
    typedLength = length > 0 ? length : 0;
    typed[typedLength] = 0;
}

int32_t ComboCompletionSink::lineCount()
{
    const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<int32_t>(count) : 0;
}

void ComboCompletionSink::closeList()
{
    SendMessageW(box, CB_SHOWDROPDOWN, FALSE, 0);
}

void ComboCompletionSink::emptyList()
{
    // Emptying a combo box empties its edit field too: the typed text goes straight back, so that a
    // fill that then fails leaves the user's letters where they were.
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    restoreTypedText();
}

bool ComboCompletionSink::addLine(const WCHAR* text)
{
    const LRESULT line = SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    return line != CB_ERR && line != CB_ERRSPACE;
}

void ComboCompletionSink::openList()
{
    SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
}

void ComboCompletionSink::restoreTypedText()
{
    SetWindowTextW(box, typed);
    SendMessageW(box, CB_SETEDITSEL, 0, MAKELPARAM(typedLength, typedLength));
}
