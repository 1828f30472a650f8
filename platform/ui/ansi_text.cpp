#include "platform/ui/ansi_text.h"

#include <algorithm>

namespace ui {

std::u16string fromAnsi(LPCSTR text)
{
    if (text == nullptr)
        return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return {};
    std::u16string wide(static_cast<size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.pop_back();
    return wide;
}

int toAnsi(std::u16string_view text, LPSTR buffer, int capacity)
{
    if (buffer == nullptr || capacity <= 0)
        return 0;
    std::u16string copy(text);
    const int needed = WideCharToMultiByte(CP_ACP, 0, copy.c_str(), static_cast<int>(copy.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0)
        WideCharToMultiByte(CP_ACP, 0, copy.c_str(), static_cast<int>(copy.size()), bytes.data(), needed, nullptr,
                            nullptr);
    const int count = std::min(static_cast<int>(bytes.size()), capacity - 1);
    bytes.copy(buffer, static_cast<size_t>(count));
    buffer[count] = '\0';
    return count;
}

bool sameNameIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    // The device's own case folding, as every other name comparison of the platform uses it.
    return a.size() == b.size() && _wcsnicmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace ui
