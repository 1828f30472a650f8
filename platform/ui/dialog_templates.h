// Dialog templates as the dialog manager uses them, read from either form a resource may hold:
// the C++ DialogTemplate or the resource compiler's DLGTEMPLATE / DLGTEMPLATEEX.
#pragma once

#include "win32.h"

#include <optional>
#include <string>
#include <vector>

namespace ui {

struct DialogItem {
    std::u16string className;
    std::u16string text;
    bool hasText = false;
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogLayout {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::u16string caption;
    std::u16string className;  // empty: the dialog class
    WORD pointSize = 0;
    std::u16string faceName;
    std::vector<DialogItem> items;
};

std::optional<DialogLayout> layoutFromTemplate(const DialogTemplate& t);
// Nothing when the bytes are not a whole, well-formed template.
std::optional<DialogLayout> layoutFromResource(const void* data, size_t size);

} // namespace ui
