#include "tools/ydb/examine/record_json.h"

#include <cstring>

#include <nlohmann/json.hpp>

#include "tools/ydb/examine/database_check.h"
#include "tools/ydb/source/cp1251.h"

// Ordered, so that "ref" comes first and the fields follow in their slot's order.
using json = nlohmann::ordered_json;

namespace {

std::string text(const char* t) { return t ? cp1251ToUtf8(t) : std::string(); }
template <size_t N> std::string wide(const WCHAR (&t)[N]) { return utf16ToUtf8(t, N); }
json refs(const FirmRefList& list, uint32_t count) {
    json a = json::array();
    for (uint32_t i = 0; list.firmRefs && i < count; ++i) a.push_back(list.firmRefs[i]);
    return a;
}

} // namespace

int parseTableName(const std::string& s) {
    if (s.size() == 1 && s[0] >= '0' && s[0] <= '7') return s[0] - '0';
    for (int t = 0; t < 8; ++t)
        if (s == tableName(t)) return t;
    return -1;
}

std::string recordJson(const DirectoryDatabase& db, int table, uint32_t ref) {
    json j{{"ref", ref}};
    switch (table) {
    case tableRubrics:
        j["code"] = text(db.rubric.code), j["title"] = text(db.rubric.title);
        j["flags"] = db.rubric.flags, j["firmListRef"] = db.rubric.firmListRef;
        break;
    case tablePrefixes:
        j["prefix"] = cp1251ToUtf8(std::string(db.prefix.prefix, strnlen(db.prefix.prefix, sizeof db.prefix.prefix)));
        j["firmRef"] = db.prefix.firmRef;
        break;
    case tableRubricFirms:
        j["byteCount"] = db.rubricFirms.byteCount, j["firmRefs"] = refs(db.rubricFirms, db.rubricFirms.byteCount / 4);
        break;
    case tableFirms:
        j["name"] = text(db.firm.name), j["streetRef"] = db.firm.streetRef, j["house"] = db.firm.house;
        j["houseSuffix"] = wide(db.firm.houseSuffix), j["web"] = wide(db.firm.web), j["email"] = wide(db.firm.email);
        j["phone"] = wide(db.firm.phone), j["detailsRef"] = db.firm.detailsRef;
        break;
    case tableStreets:
        j["key"] = text(db.street.key), j["name"] = text(db.street.name), j["firmListRef"] = db.street.firmListRef;
        break;
    case tableStreetFirms:
        j["byteCount"] = db.streetFirms.byteCount, j["firmRefs"] = refs(db.streetFirms, db.streetFirms.count);
        break;
    case tablePhones:
        j["number"] = db.phoneEntry.number, j["firmRef"] = db.phoneEntry.firmRef;
        break;
    case tableDetails:
        j["firmRef"] = db.details.firmRef, j["phones"] = wide(db.details.phones);
        j["namePrefix"] = wide(db.details.namePrefix), j["rubricCodes"] = text(db.details.rubricCodes);
        j["hours"] = text(db.details.hours), j["comment"] = text(db.details.comment);
        break;
    default:
        break;
    }
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

int32_t walkTable(DirectoryDatabase& db, int table, uint16_t detail, const std::function<void(uint32_t ref)>& each,
                  uint32_t& failedRef) {
    failedRef = 0;
    int32_t r = seekTable(db, table, 0, false, noCap);
    if (r != readOk) return r;
    uint32_t ref = tableOffset(db, table);
    while ((r = readRecord(db, table, readNext, detail, noCap)) == readOk) {
        each(ref);
        uint32_t next = tableOffset(db, table);
        if (next <= ref) {
            failedRef = ref;
            return dumpNotAdvancing;
        }
        ref = next;
    }
    failedRef = ref;
    return r == readEndOfTable ? readOk : r;
}

int32_t dumpTable(DirectoryDatabase& db, int table, const std::function<void(const std::string&)>& line,
                  uint32_t& failedRef) {
    uint16_t detail = table == tableFirms ? detailBody : table == tableStreetFirms ? detailList : 0;
    return walkTable(db, table, detail, [&](uint32_t ref) { line(recordJson(db, table, ref)); }, failedRef);
}
