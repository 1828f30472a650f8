#include "tools/ydb/examine/database_check.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "db/record_walk.h"
#include "db/window_scan.h"
#include "search/search_text.h"
#include "tools/ydb/source/cp1251.h"

namespace {

const char* const names[] = {"rubrics", "prefixes", "rubric-firms", "firms", "streets", "street-firms", "phones", "details"};

struct Checker {
    Checker(DirectoryDatabase& database, size_t limit) : db(database), maxFaults(limit) {}
    DirectoryDatabase& db;
    CheckReport report;
    size_t maxFaults;
    size_t faultCount = 0;
    std::vector<uint32_t> starts[8];  // record references of each table, ascending

    void fault(int table, uint32_t offset, int32_t code, std::string what) {
        if (faultCount++ < maxFaults) report.faults.push_back({table, offset, code, std::move(what)});
    }
    bool isStart(int table, uint32_t ref) const {
        return std::binary_search(starts[table].begin(), starts[table].end(), ref);
    }

    // Reads table `table` front to back, calling `each(ref)` after every decoded record.
    template <typename Each> void scan(int table, uint16_t detail, Each each) {
        int32_t r = seekTable(db, table, 0, false, noCap);
        if (r != readOk) {
            fault(table, 0, r, "the table cannot be positioned");
            return;
        }
        uint32_t ref = tableOffset(db, table);
        uint32_t length = tableLength(db, table);
        while (true) {
            r = readRecord(db, table, readNext, detail, noCap);
            if (r == readEndOfTable) break;
            if (r != readOk) {
                fault(table, ref, r, "the record cannot be read");
                break;
            }
            starts[table].push_back(ref);
            ++report.records[table];
            each(ref);
            uint32_t next = tableOffset(db, table);
            if (next <= ref || next > length) {
                fault(table, ref, 0, "the reader does not advance past this record");
                break;
            }
            ref = next;
        }
    }

    void checkHeader() {
        if (!db.title) fault(-1, ydb::titleOffset, 0, "no title: no 0 byte within the 81 bytes of the title");
        else {
            size_t n = std::strlen(db.title);
            if (n == 0 || db.title[n - 1] == '\r' || db.title[n - 1] == '\n')
                fault(-1, ydb::titleOffset, 0, "the title's last line is empty: the handheld would not offer the file");
        }
    }

    // A details text over its limit: the handheld shows its "ERR" box and leaves the field empty.
    struct LongText {
        uint32_t detailsRef, firmRef;
        const char* field;
        uint32_t length, limit;
    };
    std::vector<LongText> longTexts;

    // The details record the reader has just decoded at `ref`, walked once more for the lengths
    // its texts have in the file (the decoder keeps none of an over-long one).
    void measureDetails(uint32_t ref) {
        DetailsFields fields;
        uint32_t next = 0;
        const uint32_t start = ref + tableStart(db, tableDetails) - db.windowStart;
        if (!walkWholeRecord(db, start, fields, walkDetailsBody, &next)) return;
        const struct {
            const char* field;
            uint32_t length, limit;
        } texts[] = {{"rubric list", fields.rubricCodesLength, ydb::rubricCodesMax},
                     {"hours text", fields.hoursLength, ydb::hoursMax},
                     {"comment", fields.commentLength, ydb::commentMax}};
        for (const auto& t : texts)
            if (t.length > t.limit) longTexts.push_back({ref, fields.firmRef, t.field, t.length, t.limit});
    }

    void reportLongTexts(const std::vector<std::pair<uint32_t, std::string>>& owners) {
        for (const LongText& t : longTexts) {
            auto it = std::lower_bound(owners.begin(), owners.end(), std::make_pair(t.firmRef, std::string()));
            std::string firm = it != owners.end() && it->first == t.firmRef
                                   ? "firm " + std::to_string(t.firmRef) + " \"" + cp1251ToUtf8(it->second) + "\""
                                   : "firm " + std::to_string(t.firmRef);
            fault(tableDetails, t.detailsRef, 0,
                  firm + ": its " + t.field + " has " + std::to_string(t.length) + " characters, over the " +
                      std::to_string(t.limit) + " the handheld reads: it shows \"ERR\" and leaves the field empty");
        }
    }

    void checkCounts() {
        if (report.records[tableRubrics] != rubricCount(db))
            fault(tableRubrics, 0, 0, "rubricCount is " + std::to_string(rubricCount(db)) + " but the table holds " +
                                          std::to_string(report.records[tableRubrics]));
        if (report.records[tableStreets] != streetCount(db))
            fault(tableStreets, 0, 0, "streetCount is " + std::to_string(streetCount(db)) + " but the table holds " +
                                          std::to_string(report.records[tableStreets]));
        if (uint64_t{prefixCount(db)} * ydb::prefixEntrySize != tableLength(db, tablePrefixes))
            fault(tablePrefixes, 0, 0, "prefixCount does not match the table's length");
        if (uint64_t{phoneCount(db)} * ydb::phoneEntrySize != tableLength(db, tablePhones))
            fault(tablePhones, 0, 0, "phoneCount does not match the table's length");
    }

    void checkLists(int table, const std::vector<std::pair<uint32_t, uint32_t>>& owners, int ownerTable) {
        for (auto [owner, listRef] : owners)
            if (!isStart(table, listRef))
                fault(ownerTable, owner, 0, "its firm list " + std::to_string(listRef) + " is not the start of a list in " + names[table]);
    }

    void run() {
        checkHeader();
        std::vector<std::pair<uint32_t, uint32_t>> rubricLists, streetLists;
        // The rubric tree finds a parent as the nearest earlier rubric whose code is the child's less
        // its last two characters, so the table must be in pre-order.
        std::vector<std::string> open;
        scan(tableRubrics, 0, [&](uint32_t ref) {
            if (db.rubric.firmListRef != ydb::noFirmList) rubricLists.push_back({ref, db.rubric.firmListRef});
            std::string code = db.rubric.code ? db.rubric.code : "";
            if (code.empty() || code.size() % 2 != 0) {
                fault(tableRubrics, ref, 0, "its code has not 2, 4, 6 or 8 characters");
                return;
            }
            std::string parent = code.substr(0, code.size() - 2);
            while (!open.empty() && open.back() != parent) open.pop_back();
            if (!parent.empty() && open.empty()) fault(tableRubrics, ref, 0, "its parent rubric does not come before it");
            open.push_back(code);
        });
        scan(tableStreets, 0, [&](uint32_t ref) { streetLists.push_back({ref, db.street.firmListRef}); });
        scan(tableDetails, 0, [&](uint32_t ref) { measureDetails(ref); });
        std::vector<uint32_t> detailsOwners;  // firmRef of each details record, in table order
        // The details table is read a second time for the owners, now that its starts are known.
        {
            std::vector<uint32_t> refs = starts[tableDetails];
            for (uint32_t ref : refs) {
                int32_t r = readRecord(db, tableDetails, ref, 0, noCap);
                detailsOwners.push_back(r == readOk ? db.details.firmRef : 0xFFFFFFFF);
            }
        }
        struct FirmFacts {
            uint32_t ref, street, details;
            std::string key;
        };
        std::vector<FirmFacts> firms;
        std::vector<std::pair<uint32_t, std::string>> longTextOwners;  // firm reference and name
        for (const LongText& t : longTexts) longTextOwners.push_back({t.firmRef, {}});
        std::sort(longTextOwners.begin(), longTextOwners.end());
        longTextOwners.erase(std::unique(longTextOwners.begin(), longTextOwners.end()), longTextOwners.end());
        scan(tableFirms, detailBody, [&](uint32_t ref) {
            auto owner = std::lower_bound(longTextOwners.begin(), longTextOwners.end(), std::make_pair(ref, std::string()));
            if (owner != longTextOwners.end() && owner->first == ref && db.firm.name) owner->second = db.firm.name;
            char key[256] = {};
            const char* name = db.firm.name ? db.firm.name : "";
            std::strncpy(key, name, sizeof key - 1);
            upcaseText(key);
            compactKey(key);
            firms.push_back({ref, db.firm.streetRef, db.firm.detailsRef, std::string(key, std::min<size_t>(std::strlen(key), 5))});
        });
        std::sort(starts[tableFirms].begin(), starts[tableFirms].end());
        scan(tableRubricFirms, 0, [&](uint32_t ref) {
            for (uint32_t i = 0; i < db.rubricFirms.byteCount / 4 && db.rubricFirms.firmRefs; ++i)
                if (!isStart(tableFirms, db.rubricFirms.firmRefs[i]))
                    fault(tableRubricFirms, ref, 0, "entry " + std::to_string(i) + " is not the start of a firm");
        });
        scan(tableStreetFirms, detailList, [&](uint32_t ref) {
            for (uint32_t i = 0; i < db.streetFirms.count && db.streetFirms.firmRefs; ++i)
                if (!isStart(tableFirms, db.streetFirms.firmRefs[i]))
                    fault(tableStreetFirms, ref, 0, "entry " + std::to_string(i) + " is not the start of a firm");
        });
        checkLists(tableRubricFirms, rubricLists, tableRubrics);
        checkLists(tableStreetFirms, streetLists, tableStreets);

        // The reader fetches a firm's street and details only when the reference lies inside the
        // table; one beyond it reads as none (a kiosk without a street), so only a reference that
        // lands inside the table but not on a record is damage.
        const uint32_t streetsLength = tableLength(db, tableStreets);
        const uint32_t detailsLength = tableLength(db, tableDetails);
        for (const FirmFacts& f : firms) {
            if (f.street < streetsLength && !isStart(tableStreets, f.street))
                fault(tableFirms, f.ref, 0, "its street reference is not the start of a street");
            if (f.details >= detailsLength) continue;
            auto it = std::lower_bound(starts[tableDetails].begin(), starts[tableDetails].end(), f.details);
            if (it == starts[tableDetails].end() || *it != f.details)
                fault(tableFirms, f.ref, 0, "its details reference is not the start of a details record");
            else if (detailsOwners[it - starts[tableDetails].begin()] != f.ref)
                fault(tableFirms, f.ref, 0, "its details record belongs to another firm");
        }
        for (size_t i = 1; i < firms.size(); ++i)
            if (firms[i].key < firms[i - 1].key) fault(tableFirms, firms[i].ref, 0, "out of alphabetical order of search keys");

        // The prefix index must list exactly the first firm of every run of one prefix.
        std::vector<std::pair<std::string, uint32_t>> expected;
        for (const FirmFacts& f : firms)
            if (expected.empty() || expected.back().first != f.key) expected.push_back({f.key, f.ref});
        std::string previous;
        uint32_t index = 0;
        scan(tablePrefixes, 0, [&](uint32_t ref) {
            std::string prefix(db.prefix.prefix, strnlen(db.prefix.prefix, ydb::prefixMaxLength));
            if (index > 0 && !(previous < prefix)) fault(tablePrefixes, ref, 0, "not in ascending order");
            if (index >= expected.size() || expected[index].first != prefix || expected[index].second != db.prefix.firmRef)
                fault(tablePrefixes, ref, 0, "does not agree with the order of the firms");
            previous = prefix;
            ++index;
        });
        if (index != expected.size() && faultCount == 0)
            fault(tablePrefixes, 0, 0, "the firms have " + std::to_string(expected.size()) + " prefixes, the index " + std::to_string(index));

        uint32_t lastNumber = 0;
        scan(tablePhones, 0, [&](uint32_t ref) {
            if (ref > 0 && db.phoneEntry.number < lastNumber) fault(tablePhones, ref, 0, "not in ascending order");
            if (!isStart(tableFirms, db.phoneEntry.firmRef)) fault(tablePhones, ref, 0, "its firm reference is not the start of a firm");
            lastNumber = db.phoneEntry.number;
        });
        for (size_t i = 0; i < detailsOwners.size(); ++i)
            if (!isStart(tableFirms, detailsOwners[i])) fault(tableDetails, starts[tableDetails][i], 0, "its firm reference is not the start of a firm");
        reportLongTexts(longTextOwners);
        checkCounts();
    }
};

} // namespace

const char* tableName(int table) { return table >= 0 && table < 8 ? names[table] : table == 8 ? "resources" : "header"; }

CheckReport checkDatabase(DirectoryDatabase& db, size_t maxFaults) {
    Checker c(db, maxFaults);
    c.run();
    return std::move(c.report);
}
