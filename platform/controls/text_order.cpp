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

// Hyphens and apostrophes are passed over at first, so that "co-op" stays next to "coop" as in
// the platform's word sort; they count only between texts that are otherwise equal.
bool passedOver(char16_t c)
{
    return c == u'-' || c == u'\'';
}

int compareKeys(std::u16string_view a, std::u16string_view b, bool skipping)
{
    size_t i = 0;
    size_t j = 0;
    for (;;) {
        if (skipping) {
            while (i < a.size() && passedOver(a[i]))
                ++i;
            while (j < b.size() && passedOver(b[j]))
                ++j;
        }
        if (i == a.size() || j == b.size())
            break;
        SortKey ka = sortKey(a[i++]);
        SortKey kb = sortKey(b[j++]);
        if (ka.rank != kb.rank)
            return ka.rank < kb.rank ? -1 : 1;
        if (ka.value != kb.value)
            return ka.value < kb.value ? -1 : 1;
    }
    bool aDone = i == a.size();
    bool bDone = j == b.size();
    if (aDone && bDone)
        return 0;
    return aDone ? -1 : 1;
}

size_t passedOverCount(std::u16string_view text)
{
    size_t count = 0;
    for (char16_t c : text)
        count += passedOver(c) ? 1 : 0;
    return count;
}

}  // namespace

int compareListText(std::u16string_view a, std::u16string_view b)
{
    int words = compareKeys(a, b, true);
    if (words != 0)
        return words;
    // Equal as words: the one with fewer hyphens and apostrophes first ("coop" before "co-op").
    size_t hyphensA = passedOverCount(a);
    size_t hyphensB = passedOverCount(b);
    if (hyphensA != hyphensB)
        return hyphensA < hyphensB ? -1 : 1;
    return compareKeys(a, b, false);
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
