#include "platform/controls/text_order.h"

#include "platform/kernel/text.h"

namespace controls {
namespace {

// Rank of a character's class, then its place within the class.
struct SortKey {
    int rank;
    int value;
};

SortKey sortKey(char16_t c)
{
    char16_t upper = kernel::foldCase(c);
    if (upper >= u'0' && upper <= u'9')
        return {1, upper};
    if (upper >= u'A' && upper <= u'Z')
        return {2, upper};
    if (upper == u'\u0401') // Ё sorts between Е and Ж
        return {3, 2 * u'\u0415' + 1};
    if (upper >= u'\u0410' && upper <= u'\u042F')
        return {3, 2 * upper};
    if ((upper >= 0x00C0 && upper <= 0x024F) || (upper >= 0x0400 && upper <= 0x04FF))
        return {4, upper};
    return {0, upper};
}

}  // namespace

int compareListText(std::u16string_view a, std::u16string_view b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        SortKey ka = sortKey(a[i]);
        SortKey kb = sortKey(b[i]);
        if (ka.rank != kb.rank)
            return ka.rank < kb.rank ? -1 : 1;
        if (ka.value != kb.value)
            return ka.value < kb.value ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool startsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix)
{
    if (prefix.size() > text.size())
        return false;
    return kernel::equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    return kernel::equalsIgnoringCase(a, b);
}

}  // namespace controls
