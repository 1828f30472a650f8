#include "platform/testing/windows.h"

namespace driver {

namespace {

struct WindowSearch {
    std::u16string_view windowClass;
    std::u16string_view caption;
    int controlId = 0;
    bool byId = false;
    HWND found = nullptr;
};

bool matches(HWND window, const WindowSearch& search)
{
    if (search.byId) return GetDlgCtrlID(window) == search.controlId;
    if (!IsWindowVisible(window)) return false;
    return (search.windowClass.empty() || sameClassName(className(window), search.windowClass)) &&
           (search.caption.empty() || windowText(window) == search.caption);
}

BOOL CALLBACK visitChild(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    if (matches(window, search)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK visitTopLevel(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    if (visitChild(window, parameter) == FALSE) return FALSE;
    // EnumChildWindows walks every descendant, not only the direct children.
    EnumChildWindows(window, visitChild, parameter);
    return search.found == nullptr;
}

std::vector<std::u16string> textsOf(const std::vector<ListLineDump>& lines)
{
    std::vector<std::u16string> texts;
    for (const ListLineDump& line : lines) texts.push_back(line.text);
    return texts;
}

}  // namespace

HWND findWindow(std::u16string_view windowClass, std::u16string_view caption)
{
    WindowSearch search{windowClass, caption};
    EnumWindows(visitTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findControl(HWND parent, int controlId)
{
    WindowSearch search;
    search.controlId = controlId;
    search.byId = true;
    EnumChildWindows(parent, visitChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::u16string windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::u16string className(HWND window)
{
    WCHAR name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::u16string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::vector<std::u16string> listBoxLines(HWND listBox) { return textsOf(listBoxItems(listBox)); }

std::vector<std::u16string> comboBoxLines(HWND comboBox) { return textsOf(comboBoxItems(comboBox)); }

std::vector<TreeLine> treeViewLines(HWND treeView)
{
    std::vector<TreeLine> lines;
    for (TreeItemDump& item : treeViewItems(treeView, false)) lines.push_back({item.depth, std::move(item.text)});
    return lines;
}

}  // namespace driver
