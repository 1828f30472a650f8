// A source edition compiled, checked and dumped: what comes out of the file is what went in.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/ydb/built_edition.h"
#include "tools/ydb/examine/database_check.h"
#include "tools/ydb/examine/host_database.h"
#include "tools/ydb/examine/record_json.h"

namespace {

using nlohmann::json;

struct OpenedFile {
    DirectoryDatabase* db = nullptr;
    explicit OpenedFile(const std::string& path) {
        std::string error;
        db = openHostDatabase(path, error);
        EXPECT_NE(db, nullptr) << error;
    }
    ~OpenedFile() { destroyDatabase(db); }
};

std::vector<json> dump(DirectoryDatabase& db, int table) {
    std::vector<json> records;
    uint32_t failedRef = 0;
    EXPECT_EQ(dumpTable(db, table, [&](const std::string& line) { records.push_back(json::parse(line)); }, failedRef), 0)
        << "table " << table << " at " << failedRef;
    return records;
}

class RoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(built.build(error)) << error;
        file = std::make_unique<OpenedFile>(built.path);
        ASSERT_NE(file->db, nullptr);
        for (const json& s : dump(db(), tableStreets)) streetByRef[s["ref"]] = s["name"];
        firms = dump(db(), tableFirms);
        for (size_t i = 0; i < firms.size(); ++i) firmIndexByRef[firms[i]["ref"]] = i;
    }
    DirectoryDatabase& db() { return *file->db; }
    // The firms a list names, as "name/street" in list order.
    std::vector<std::string> firmsOf(const json& refs) {
        std::vector<std::string> out;
        for (uint32_t ref : refs) {
            const json& f = firms.at(firmIndexByRef.at(ref));
            out.push_back(f["name"].get<std::string>() + "/" + streetByRef.at(f["streetRef"]).get<std::string>());
        }
        return out;
    }

    BuiltEdition built;
    std::unique_ptr<OpenedFile> file;
    std::map<uint32_t, json> streetByRef;
    std::map<uint32_t, size_t> firmIndexByRef;
    std::vector<json> firms;
};

TEST_F(RoundTrip, TheBuiltFileIsSound) {
    CheckReport report = checkDatabase(db());
    for (const CheckFault& f : report.faults) ADD_FAILURE() << tableName(f.table) << " at " << f.offset << ": " << f.what;
    EXPECT_EQ(report.records[tableRubrics], 6u);
    EXPECT_EQ(report.records[tableFirms], 4u);
    EXPECT_EQ(report.records[tableStreets], 3u);
    EXPECT_EQ(cityLetter(db()), 0xCF);
    ASSERT_NE(db().title, nullptr);
    EXPECT_STREQ(db().title, "\xD1\xEF\xF0\xE0\xE2\xEE\xF7\xED\xE8\xEA\r\n\xD1\xE0\xED\xEA\xF2-\xCF\xE5\xF2\xE5\xF0\xE1\xF3\xF0\xE3");
}

// The white pages order compares search keys: guillemets, spaces and "&" drop out and Ё counts as Е,
// so «Ёлка» sorts after Бета; branches of one name keep their source order.
TEST_F(RoundTrip, FirmsComeInWhitePagesOrderWithEveryField) {
    ASSERT_EQ(firms.size(), 4u);
    EXPECT_EQ(firmsOf(json::array({firms[0]["ref"], firms[1]["ref"], firms[2]["ref"], firms[3]["ref"]})),
              (std::vector<std::string>{"Альфа/Садовая ул.", "Альфа/Литейный пр.", "Бета сервис/Невский пр.",
                                        "«Ёлка» & Ко/Невский пр."}));
    const json& elka = firms[3];
    EXPECT_EQ(elka["house"], 12);
    EXPECT_EQ(elka["houseSuffix"], "2");
    EXPECT_EQ(elka["phone"], "325-12-12 ф");
    EXPECT_EQ(firms[0]["house"], 0);
    EXPECT_EQ(firms[0]["email"], "a@alfa.ru, b@alfa.ru");

    std::vector<json> details = dump(db(), tableDetails);
    ASSERT_EQ(details.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(details[i]["ref"], firms[i]["detailsRef"]);
        EXPECT_EQ(details[i]["firmRef"], firms[i]["ref"]);
    }
    EXPECT_EQ(details[3]["phones"], "325-12-12 ф,(812) 111-22-33");
    EXPECT_EQ(details[3]["namePrefix"], "ООО");
    EXPECT_EQ(details[3]["rubricCodes"], "|1010|2010|");
    EXPECT_EQ(details[3]["hours"], "пн-пт 9-18");
    EXPECT_EQ(details[3]["comment"], "|10| Ремонт |$Запись по телефону|");
    EXPECT_EQ(details[2]["rubricCodes"], "|1011|1010|");
}

TEST_F(RoundTrip, RubricsKeepTheirTreeAndListTheirFirmsAlphabetically) {
    std::vector<json> rubrics = dump(db(), tableRubrics);
    std::vector<json> lists = dump(db(), tableRubricFirms);
    std::map<uint32_t, json> listByRef;
    for (const json& l : lists) listByRef[l["ref"]] = l["firmRefs"];
    ASSERT_EQ(rubrics.size(), 6u);
    std::vector<std::string> codes;
    for (const json& r : rubrics) codes.push_back(r["code"]);
    EXPECT_EQ(codes, (std::vector<std::string>{"10", "1010", "101010", "1011", "20", "2010"}));
    EXPECT_EQ(rubrics[0]["firmListRef"], ydb::noFirmList);  // headings without firms of their own
    EXPECT_EQ(rubrics[4]["firmListRef"], ydb::noFirmList);
    EXPECT_EQ(rubrics[0]["flags"], 2);
    EXPECT_EQ(rubrics[1]["flags"], 3);
    EXPECT_EQ(rubrics[2]["flags"], 1);
    EXPECT_EQ(firmsOf(listByRef.at(rubrics[1]["firmListRef"])),
              (std::vector<std::string>{"Альфа/Садовая ул.", "Бета сервис/Невский пр.", "«Ёлка» & Ко/Невский пр."}));
    EXPECT_EQ(firmsOf(listByRef.at(rubrics[2]["firmListRef"])), (std::vector<std::string>{"Альфа/Литейный пр."}));
    EXPECT_EQ(firmsOf(listByRef.at(rubrics[5]["firmListRef"])), (std::vector<std::string>{"«Ёлка» & Ко/Невский пр."}));
}

TEST_F(RoundTrip, StreetsListTheirFirms) {
    std::vector<json> streets = dump(db(), tableStreets);
    std::map<uint32_t, json> listByRef;
    for (const json& l : dump(db(), tableStreetFirms)) listByRef[l["ref"]] = l["firmRefs"];
    ASSERT_EQ(streets.size(), 3u);
    EXPECT_EQ(streets[0]["key"], "НЕВ");
    EXPECT_EQ(streets[0]["name"], "Невский пр.");
    EXPECT_EQ(firmsOf(listByRef.at(streets[0]["firmListRef"])),
              (std::vector<std::string>{"Бета сервис/Невский пр.", "«Ёлка» & Ко/Невский пр."}));
    EXPECT_EQ(firmsOf(listByRef.at(streets[2]["firmListRef"])), (std::vector<std::string>{"Альфа/Литейный пр."}));
}

// The index holds every telephone's number of at most 9 digits and the local part of a longer one;
// a fax mark does not stop a number from being found, and a number is listed once per firm.
TEST_F(RoundTrip, TheTelephoneIndexIsAscendingAndFindsEveryFirm) {
    std::vector<std::pair<uint32_t, std::string>> entries;
    for (const json& p : dump(db(), tablePhones))
        entries.push_back({p["number"], firmsOf(json::array({p["firmRef"]})).front()});
    EXPECT_EQ(entries, (std::vector<std::pair<uint32_t, std::string>>{{112, "Бета сервис/Невский пр."},
                                                                        {1112233, "«Ёлка» & Ко/Невский пр."},
                                                                        {1234567, "Альфа/Литейный пр."},
                                                                        {3251212, "«Ёлка» & Ко/Невский пр."}}));
    EXPECT_EQ(phoneCount(db()), 4u);
}

TEST_F(RoundTrip, ThePrefixIndexNamesTheFirstFirmOfEachRun) {
    std::vector<json> prefixes = dump(db(), tablePrefixes);
    ASSERT_EQ(prefixes.size(), 3u);
    EXPECT_EQ(prefixes[0]["prefix"], "АЛЬФА");
    EXPECT_EQ(prefixes[0]["firmRef"], firms[0]["ref"]);
    EXPECT_EQ(prefixes[1]["prefix"], "БЕТАС");
    EXPECT_EQ(prefixes[2]["prefix"], "ЕЛКА»");  // the right guillemet stays in the key
    EXPECT_EQ(prefixes[2]["firmRef"], firms[3]["ref"]);
}

} // namespace
