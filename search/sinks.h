// The small interfaces through which the list and search operations hand out what they find.
// A screen implements them over its controls and message boxes; tests and `ydb query` implement
// them over plain containers and standard error. No operation here knows about windows.
#pragma once

#include <cstdint>

#include "win32.h"

// The value a list line carries: a firm reference (table 3), or -1 for a line that opens nothing.
using ItemValue = int64_t;
constexpr ItemValue noItemValue = -1;

// A list box: lines are appended in order.
class ListSink {
public:
    virtual ~ListSink() = default;
    // Appends a line (at most the caller's limit of UTF-16 units, 0-terminated). Returns false when
    // the list is out of space; the line is then not in the list.
    virtual bool addLine(const WCHAR* text, ItemValue value) = 0;
    // Makes line `index` (0-based, in order of addition) the selected one.
    virtual void selectLine(int32_t index) = 0;
};

// A tree view. Item handles are opaque; 0 is "none" as a result and "the top level" as a parent.
using TreeItem = uintptr_t;

class TreeSink {
public:
    virtual ~TreeSink() = default;
    // Adds a text-only item as the last child of `parent`; returns its handle, or 0 when it failed.
    virtual TreeItem insertLastChild(TreeItem parent, const WCHAR* text) = 0;
    // Sorts the children of `parent` alphabetically, one level only.
    virtual void sortChildren(TreeItem parent) = 0;
};

// The drop-down list of a combo box with an edit field (the completion lists).
class CompletionSink {
public:
    virtual ~CompletionSink() = default;
    virtual int32_t lineCount() = 0;
    virtual void closeList() = 0;
    virtual void emptyList() = 0;
    // Returns false when the list is out of space.
    virtual bool addLine(const WCHAR* text) = 0;
    virtual void openList() = 0;
    // Puts the typed text back into the edit field with the caret at its end and nothing selected.
    virtual void restoreTypedText() = 0;
};

// What a long operation needs of the screen it runs for: the platform's message box (same
// arguments and result as MessageBoxW, so a screen passes them straight through), the wait
// cursor, and the message pump that keeps the screen painting during long reads.
class ScreenHooks {
public:
    virtual ~ScreenHooks() = default;
    // `type` is MB_* flags (buttons and icon); the result is IDOK, IDYES or IDNO.
    virtual int messageBox(const WCHAR* text, const WCHAR* caption, UINT type) = 0;
    virtual void showWaitCursor() {}
    virtual void restoreCursor() {}
    virtual void pumpMessages() {}
    // The platform's text for the thread's last error code in a stop box with `caption`; nothing
    // when the code is 0. Returns -1 when a box was shown, else 0.
    virtual int showSystemError(const WCHAR* caption);
};
