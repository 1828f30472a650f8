// A firm without a street (a kiosk, a mobile service) from source to file: stored with a street
// reference beyond the street table, in no street's list, and found sound by the examiner, which
// still reports a reference that lands inside a record.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "tests/ydb/built_edition.h"
#include "tools/writer/image_patch.h"
#include "tools/ydb/examine/database_check.h"
#include "tools/ydb/examine/host_database.h"
#include "tools/ydb/source/cp1251.h"

namespace {

const char* const kioskLines =
    "{\"name\": \"Киоск «Пресса»\", \"rubrics\": [\"1010\"], \"phone\": \"8-921-000-11-22\"}\n"
    "{\"name\": \"Шиномонтаж на выезде\", \"street\": \"\", \"rubrics\": [\"1010\"]}\n";

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class StreetlessFirm : public ::testing::Test {
protected:
    void SetUp() override {
        built.source.write("firms.jsonl", fileText(built.source.root / "firms.jsonl") + kioskLines);
        std::string error;
        ASSERT_TRUE(built.build(error)) << error;
    }

    // The firm's reference in table 3 and its street reference, found by name.
    bool findFirm(DirectoryDatabase& db, const char* utf8Name, uint32_t& ref, uint32_t& streetRef) {
        std::string name;
        utf8ToCp1251(utf8Name, name);
        if (seekTable(db, tableFirms, 0, false, noCap) != readOk) return false;
        uint32_t at = tableOffset(db, tableFirms);
        while (readRecord(db, tableFirms, readNext, detailBody, noCap) == readOk) {
            if (db.firm.name && name == db.firm.name) {
                ref = at;
                streetRef = db.firm.streetRef;
                return true;
            }
            at = tableOffset(db, tableFirms);
        }
        return false;
    }

    CheckReport check() {
        EXPECT_TRUE(built.save());
        std::string error;
        DirectoryDatabase* db = openHostDatabase(built.path, error);
        EXPECT_NE(db, nullptr) << error;
        CheckReport report;
        if (db) report = checkDatabase(*db);
        destroyDatabase(db);
        return report;
    }
    static std::string list(const CheckReport& report) {
        std::string s;
        for (const CheckFault& f : report.faults)
            s += std::string(tableName(f.table)) + " " + std::to_string(f.offset) + " " + f.what + "\n";
        return s;
    }
    BuiltEdition built;
};

TEST_F(StreetlessFirm, IsStoredBeyondTheStreetTableInNoStreetsListAndChecksSound) {
    std::string error;
    DirectoryDatabase* db = openHostDatabase(built.path, error);
    ASSERT_NE(db, nullptr) << error;
    uint32_t kiosk = 0, kioskStreet = 0, mobile = 0, mobileStreet = 0;
    ASSERT_TRUE(findFirm(*db, "Киоск «Пресса»", kiosk, kioskStreet));
    ASSERT_TRUE(findFirm(*db, "Шиномонтаж на выезде", mobile, mobileStreet));
    EXPECT_EQ(kioskStreet, 0xFFFFFFFFu);
    EXPECT_EQ(mobileStreet, 0xFFFFFFFFu);

    // Every street list still names its firms, and never these two.
    uint32_t listed = 0;
    ASSERT_EQ(seekTable(*db, tableStreetFirms, 0, false, noCap), readOk);
    while (readRecord(*db, tableStreetFirms, readNext, detailList, noCap) == readOk)
        for (uint32_t i = 0; i < db->streetFirms.count; ++i, ++listed) {
            EXPECT_NE(db->streetFirms.firmRefs[i], kiosk);
            EXPECT_NE(db->streetFirms.firmRefs[i], mobile);
        }
    EXPECT_EQ(listed, 4u);

    // Read as a card reads it: a name, details, no street.
    ASSERT_EQ(readRecord(*db, tableFirms, mobile, detailBody | detailStreet | detailDetails, cardReadCap), readOk);
    EXPECT_EQ(db->firm.streetName[0], 0);
    EXPECT_EQ(db->firm.house, 0u);
    EXPECT_EQ(db->details.firmRef, mobile);
    CheckReport report = checkDatabase(*db);
    EXPECT_TRUE(report.faults.empty()) << list(report);
    EXPECT_EQ(report.records[tableFirms], 6u);
    destroyDatabase(db);
}

TEST_F(StreetlessFirm, TheProgramChecksItCleanAndListsItWithoutAnAddress) {
    const std::string log = (built.source.root / "ydb.log").string();
    auto run = [&](const std::string& arguments) {
        const std::string command = std::string(YDB_PROGRAM) + " " + arguments + " >'" + log + "' 2>&1 </dev/null";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(run("check '" + built.path + "'"), 0) << fileText(log);
    ASSERT_EQ(run("query '" + built.path + "' firms " + std::to_string(built.image.rubricListRefs[1])), 0) << fileText(log);
    // Rubric 1010 in white-pages order: the two firms without a street show their names alone.
    EXPECT_EQ(fileText(log), "Альфа, Садовая ул.\n"
                             "Бета сервис, Невский пр.\n"
                             "«Ёлка» & Ко, Невский пр., 12/2\n"
                             "Киоск «Пресса»\n"
                             "Шиномонтаж на выезде\n");
}

// Beyond its table a street or details reference reads as none, as on the handheld; inside the
// table it must name a record's first byte.
TEST_F(StreetlessFirm, OnlyAReferenceInsideItsTableMustNameARecord) {
    const uint32_t firm = built.image.firmRefs[0];
    const uint32_t streetsLength = built.image.tableStart[tableStreets + 1] - built.image.tableStart[tableStreets];
    const uint32_t detailsLength = built.image.tableStart[tableDetails + 1] - built.image.tableStart[tableDetails];
    const std::string name(reinterpret_cast<const char*>(built.image.bytes.data()) +
                           absoluteOffset(built.image, tableFirms, firm) + ydb::recordLengthSize);
    const uint32_t streetField = absoluteOffset(built.image, tableFirms, firm) + ydb::recordLengthSize +
                                 static_cast<uint32_t>(name.size()) + 1;
    // The details reference is the record's last field.
    const uint32_t detailsField = absoluteOffset(built.image, tableFirms, firm) + ydb::recordLengthSize +
                                  ydb::loadU16(built.image.bytes.data() + absoluteOffset(built.image, tableFirms, firm)) -
                                  ydb::refSize;

    // Exactly at the table's end, and far beyond it.
    ASSERT_TRUE(patchU32(built.image, streetField, streetsLength));
    ASSERT_TRUE(patchU32(built.image, detailsField, detailsLength));
    CheckReport r = check();
    EXPECT_TRUE(r.faults.empty()) << list(r);
    ASSERT_TRUE(patchU32(built.image, detailsField, 0x80000000u));
    r = check();
    EXPECT_TRUE(r.faults.empty()) << list(r);

    // One byte into a record, and the last byte of the table.
    ASSERT_TRUE(patchU32(built.image, streetField, built.image.streetRefs[1] + 1));
    ASSERT_TRUE(patchU32(built.image, detailsField, detailsLength - 1));
    r = check();
    ASSERT_EQ(r.faults.size(), 2u) << list(r);
    EXPECT_EQ(r.faults[0].table, tableFirms);
    EXPECT_EQ(r.faults[0].offset, firm);
    EXPECT_EQ(r.faults[0].what, "its street reference is not the start of a street");
    EXPECT_EQ(r.faults[1].what, "its details reference is not the start of a details record");
}

} // namespace
