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

namespace {

char16_t fold(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + 32);
    if (c >= 0x0410 && c <= 0x042F)
        return static_cast<char16_t>(c + 32);
    if (c >= 0x0400 && c <= 0x040F)
        return static_cast<char16_t>(c + 80);
    return c;
}

} // namespace

bool sameNameIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}

} // namespace ui
