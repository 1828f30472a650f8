#include "search/address_key.h"

#include <cstdint>

#include "db/format.h"
#include "db/text_fields.h"
#include "search/text_match.h"
#include "search/wide_text.h"

namespace {

constexpr size_t joinedMax = addressKeyCapacity;  // units joined before the conversion back

struct AddressBytes {
    uint8_t to[256];
    // False when some byte does not go through the conversions as one character of its own (it
    // would end or shorten the text): the conversions then do the whole text.
    bool usable = true;
};

AddressBytes makeAddressBytes() {
    AddressBytes table{};
    for (int b = 1; b < 256; ++b) {
        const char one = static_cast<char>(b);
        WCHAR unit[2];
        convertText(&one, 1, unit, 2);
        char back[2] = {};
        if (unit[0] == 0 || toCodePage(unit, back, sizeof back) != 1 || back[0] == 0) {
            table.usable = false;
            continue;
        }
        foldToUpper(back, 1, back);
        table.to[b] = static_cast<uint8_t>(back[0]);
    }
    return table;
}

// Copies up to `limit` bytes of a text, stopping at a 0 as the joined units do.
size_t appendMapped(const AddressBytes& table, const char* text, size_t length, size_t limit, char* out, size_t n,
                    size_t end) {
    if (length > limit) length = limit;
    for (size_t i = 0; i < length && n < end; ++i) {
        const auto b = static_cast<uint8_t>(text[i]);
        if (b == 0) break;
        out[n++] = static_cast<char>(table.to[b]);
    }
    return n;
}

const AddressBytes& addressBytes() {
    static const AddressBytes table = makeAddressBytes();
    return table;
}

}  // namespace

size_t addressKeyByConversion(const char* web, size_t webLength, const char* email, size_t emailLength,
                              char (&out)[addressKeyCapacity]) {
    WCHAR webUnits[ydb::webMax + 1] = {};
    WCHAR emailUnits[ydb::emailMax + 1] = {};
    if (web) convertText(web, webLength, webUnits);
    if (email) convertText(email, emailLength, emailUnits);
    WCHAR joined[joinedMax + 1];
    size_t n = 0;
    for (const WCHAR* p = webUnits; *p && n < joinedMax; ++p) joined[n++] = *p;
    if (n < joinedMax) joined[n++] = u'|';
    for (const WCHAR* p = emailUnits; *p && n < joinedMax; ++p) joined[n++] = *p;
    joined[n] = 0;
    const size_t length = toCodePage(joined, out, addressKeyCapacity);
    foldToUpper(out, length, out);
    return length;
}

size_t addressKey(const char* web, size_t webLength, const char* email, size_t emailLength,
                  char (&out)[addressKeyCapacity]) {
    const AddressBytes& table = addressBytes();
    if (!table.usable) return addressKeyByConversion(web, webLength, email, emailLength, out);
    // The conversion back keeps 99 of the joined units, so nothing past the 99th byte counts.
    constexpr size_t end = addressKeyCapacity - 1;
    size_t n = web ? appendMapped(table, web, webLength, ydb::webMax, out, 0, end) : 0;
    if (n < end) out[n++] = static_cast<char>(table.to[static_cast<uint8_t>('|')]);
    if (email) n = appendMapped(table, email, emailLength, ydb::emailMax, out, n, end);
    out[n] = 0;
    return n;
}

PreparedKey prepareAddressKey(const char* key, size_t length) {
    const AddressBytes& table = addressBytes();
    if (!table.usable) return PreparedKey{key, length, {}, {}};
    // Every address key holds the separator, so a key byte equal to it narrows nothing.
    return prepareKey(key, length, table.to, scanNeighbourPairs, table.to[static_cast<uint8_t>('|')]);
}
