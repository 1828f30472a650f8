#include "tools/ydb/examine/record_json.h"

#include <cstring>

#include <nlohmann/json.hpp>

#include "tools/ydb/examine/database_check.h"
#include "tools/ydb/source/cp1251.h"

namespace {

std::string text(const char* t) { return t ? cp1251ToUtf8(t) : std::string(); }
template <size_t N> std::string wide(const WCHAR (&t)[N]) { return utf16ToUtf8(t, N); }

// One record's line, written field by field in its slot's order with "ref" first. Building a
// whole JSON object first cost more than decoding the record: a dump of a large edition, and the
// examiner's fuzz runs, spent most of their time on it. Strings are escaped by the JSON library
// as before, so a line is byte for byte what the library made of the object.
class JsonLine {
public:
    explicit JsonLine(uint32_t ref) { line_ = "{\"ref\":" + std::to_string(ref); }
    JsonLine& field(const char* name, uint32_t value) {
        key(name);
        line_ += std::to_string(value);
        return *this;
    }
    JsonLine& field(const char* name, const std::string& value) {
        key(name);
        line_ += nlohmann::json(value).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return *this;
    }
    JsonLine& refs(const char* name, const FirmRefList& list, uint32_t count) {
        key(name);
        line_ += '[';
        for (uint32_t i = 0; list.firmRefs && i < count; ++i) {
            if (i > 0) line_ += ',';
            line_ += std::to_string(list.firmRefs[i]);
        }
        line_ += ']';
        return *this;
    }
    std::string finish() { return std::move(line_ += '}'); }

private:
    void key(const char* name) {
        line_ += ",\"";
        line_ += name;
        line_ += "\":";
    }
    std::string line_;
};

} // namespace

int parseTableName(const std::string& s) {
    if (s.size() == 1 && s[0] >= '0' && s[0] <= '7') return s[0] - '0';
    for (int t = 0; t < 8; ++t)
        if (s == tableName(t)) return t;
    return -1;
}

std::string recordJson(const DirectoryDatabase& db, int table, uint32_t ref) {
    JsonLine j(ref);
    switch (table) {
    case tableRubrics:
        j.field("code", text(db.rubric.code)).field("title", text(db.rubric.title));
        j.field("flags", db.rubric.flags).field("firmListRef", db.rubric.firmListRef);
        break;
    case tablePrefixes:
        j.field("prefix",
                cp1251ToUtf8(std::string(db.prefix.prefix, strnlen(db.prefix.prefix, sizeof db.prefix.prefix))));
        j.field("firmRef", db.prefix.firmRef);
        break;
    case tableRubricFirms:
        j.field("byteCount", db.rubricFirms.byteCount).refs("firmRefs", db.rubricFirms, db.rubricFirms.byteCount / 4);
        break;
    case tableFirms:
        j.field("name", text(db.firm.name)).field("streetRef", db.firm.streetRef).field("house", db.firm.house);
        j.field("houseSuffix", wide(db.firm.houseSuffix)).field("web", wide(db.firm.web));
        j.field("email", wide(db.firm.email)).field("phone", wide(db.firm.phone));
        j.field("detailsRef", db.firm.detailsRef);
        break;
    case tableStreets:
        j.field("key", text(db.street.key)).field("name", text(db.street.name));
        j.field("firmListRef", db.street.firmListRef);
        break;
    case tableStreetFirms:
        j.field("byteCount", db.streetFirms.byteCount).refs("firmRefs", db.streetFirms, db.streetFirms.count);
        break;
    case tablePhones:
        j.field("number", db.phoneEntry.number).field("firmRef", db.phoneEntry.firmRef);
        break;
    case tableDetails:
        j.field("firmRef", db.details.firmRef).field("phones", wide(db.details.phones));
        j.field("namePrefix", wide(db.details.namePrefix)).field("rubricCodes", text(db.details.rubricCodes));
        j.field("hours", text(db.details.hours)).field("comment", text(db.details.comment));
        break;
    default:
        break;
    }
    return j.finish();
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
