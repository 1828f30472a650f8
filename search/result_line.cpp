#include "search/result_line.h"

#include <cstdio>
#include <cstring>

#include "db/database.h"
#include "search/text_buffer.h"
#include "search/wide_text.h"

namespace {

constexpr size_t nameCutBeforeStreet = 28;

}  // namespace

void formatResultLine(const Firm& firm, bool phoneVariant, WCHAR* out) {
    TextBuffer line;
    const size_t nameLength = firm.name ? strnlen(firm.name, firm.length) : 0;
    const char* street = firm.streetNameText;
    const bool withStreet = phoneVariant ? street != nullptr : (street != nullptr && street[0] != 0);
    if (!withStreet) {
        line.append(firm.name, nameLength);
    } else {
        if (nameLength > nameCutBeforeStreet) {
            line.append(firm.name, nameCutBeforeStreet);
            line.append("..,");
        } else {
            line.append(firm.name, nameLength);
            line.append(",");
        }
        line.append(" ");
        line.append(street);
        const bool withHouse = phoneVariant ? firm.house != 0 : (firm.house >= 1 && firm.house <= 9999);
        if (withHouse) {
            char house[16];
            std::snprintf(house, sizeof house, ", %d", static_cast<int>(static_cast<int32_t>(firm.house)));
            line.append(house);
            if (firm.houseSuffixText && firm.houseSuffixText[0]) {
                line.append("/");
                line.append(firm.houseSuffixText);
            }
        }
    }
    toWide(line.text(), line.length(), out, resultLineLimit + 1);
}
