// The importer's rules for one map object: which are firms, how their texts, addresses, telephones
// and hours are written, and when two objects are one firm.
#include <gtest/gtest.h>

#include <map>

#include "tools/ydb/import/address.h"
#include "tools/ydb/import/duplicates.h"
#include "tools/ydb/import/opening_hours.h"
#include "tools/ydb/import/phones.h"
#include "tools/ydb/import/text_fold.h"
#include "tools/ydb/source/cp1251.h"

namespace {

std::string cp(const char* utf8) {
    std::string out;
    EXPECT_TRUE(utf8ToCp1251(utf8, out)) << utf8;
    return out;
}

std::string folded(const char* utf8) {
    std::string out;
    return foldToCp1251(utf8, out) ? cp1251ToUtf8(out) : "<refused>";
}

TEST(ImportText, FoldsWhatTheCodePageLacksAndRefusesOtherScripts) {
    EXPECT_EQ(folded("Café Crème Brûlée"), "Cafe Creme Brulee");
    EXPECT_EQ(folded("Straße Łódź Œuvre"), "Strasse Lodz OEuvre");
    EXPECT_EQ(folded("Cafe\xCC\x81"), "Cafe");                                // a combining accent
    EXPECT_EQ(folded("  Кафе \xF0\x9F\x8D\x95  «Пицца»\xE2\x80\x94 24\xC2\xA0часа\t"), "Кафе «Пицца»— 24 часа");
    EXPECT_EQ(folded("Ёлка\xE2\x80\x91" "2 №5"), "Ёлка-2 №5");                  // a non-breaking hyphen
    EXPECT_EQ(folded("北京饭店"), "<refused>");
    EXPECT_EQ(folded("Кафе \xD3\x98"), "<refused>");                         // a Tatar letter
    EXPECT_EQ(folded("\xD0"), "<refused>");
}

std::string hours(const char* text) {
    std::optional<std::string> line = russianOpeningHours(text);
    return line ? cp1251ToUtf8(*line) : "<as written>";
}

TEST(ImportHours, ReadsWeekdaysTimesAndBreaks) {
    EXPECT_EQ(hours("Mo-Fr 09:00-18:00; Sa 10:00-16:00"), "Пн-Пт 9:00-18:00, Сб 10:00-16:00");
    EXPECT_EQ(hours("24/7"), "круглосуточно");
    EXPECT_EQ(hours("Mo-Su 00:00-24:00"), "круглосуточно");
    EXPECT_EQ(hours("Mo-Su 10:00-22:00"), "ежедневно 10:00-22:00");
    EXPECT_EQ(hours("10:00-20:00"), "ежедневно 10:00-20:00");
    EXPECT_EQ(hours("Mo-Fr 09:00-13:00,14:00-18:00; Sa,Su off"),
              "Пн-Пт 9:00-18:00, перерыв 13:00-14:00, Сб,Вс выходной");
    EXPECT_EQ(hours("Mo,We,Fr 08:30-12:00;"), "Пн,Ср,Пт 8:30-12:00");
    EXPECT_EQ(hours("Mo-Fr 09:00-18:00; PH off"), "<as written>");
    EXPECT_EQ(hours("Mo-Fr 9-18"), "<as written>");
    EXPECT_EQ(hours("Mo-Fr 25:00-26:00"), "<as written>");
    EXPECT_EQ(hours("sunrise-sunset"), "<as written>");
    EXPECT_EQ(hours(""), "<as written>");
}

TEST(ImportAddress, WritesStreetsInTheDirectoryForm) {
    EXPECT_EQ(cp1251ToUtf8(directoryStreetName(cp("улица Ленина"))), "Ленина ул.");
    EXPECT_EQ(cp1251ToUtf8(directoryStreetName(cp("Невский проспект"))), "Невский пр.");
    EXPECT_EQ(cp1251ToUtf8(directoryStreetName(cp("набережная реки Мойки"))), "реки Мойки наб.");
    EXPECT_EQ(cp1251ToUtf8(directoryStreetName(cp("Садовая"))), "Садовая");
    EXPECT_EQ(cp1251ToUtf8(directoryStreetName(cp("1-я линия В.О."))), "1-я линия В.О.");
    EXPECT_EQ(cp1251ToUtf8(streetKeyOf(cp("Ленина ул."))), "ЛЕН");
    EXPECT_EQ(cp1251ToUtf8(streetKeyOf(cp("8-я Советская ул."))), "8ЯС");
    EXPECT_EQ(cp1251ToUtf8(streetKeyOf(cp("Ёлочная ул."))), "ЕЛО");
}

TEST(ImportAddress, SplitsHouseNumbersFromTheirSuffixes) {
    struct Case {
        const char* text;
        uint32_t house;
        const char* suffix;
    };
    for (const Case& c : {Case{"12", 12, ""}, Case{"12к1", 12, "к1"}, Case{"12 корп. 1", 12, "к1"},
                          Case{"12/3", 12, "3"}, Case{"12А", 12, "А"}, Case{"12а", 12, "а"}, Case{"12-14", 12, "-14"},
                          Case{"д. 5 стр. 2", 5, "с2"}, Case{"7;9", 7, ""}, Case{"15 лит. Б", 15, "Б"}}) {
        HouseNumber h = parseHouseNumber(cp(c.text));
        EXPECT_TRUE(h.understood) << c.text;
        EXPECT_EQ(h.house, c.house) << c.text;
        EXPECT_EQ(cp1251ToUtf8(h.suffix), c.suffix) << c.text;
    }
    for (const char* text : {"вл. 5", "0", "12345", ""}) {
        HouseNumber h = parseHouseNumber(cp(text));
        EXPECT_FALSE(h.understood) << text;
        EXPECT_EQ(h.house, 0u) << text;
    }
}

std::vector<std::string> phones(const char* value, bool fax = false) {
    std::vector<std::string> out;
    for (const std::string& p : directoryPhones(cp(value), fax)) out.push_back(cp1251ToUtf8(p));
    return out;
}

TEST(ImportPhones, WritesNumbersSoTheReverseLookupFindsThem) {
    EXPECT_EQ(phones("+7 812 325-12-12; +7 (921) 123 45 67"),
              (std::vector<std::string>{"(812) 325-12-12", "8-921-123-45-67"}));
    EXPECT_EQ(phones("8 (800) 555-35-35 доб. 123, 3251213"),
              (std::vector<std::string>{"(800) 555-35-35 доб. 123", "325-12-13"}));
    EXPECT_EQ(phones("8123251212"), (std::vector<std::string>{"(812) 325-12-12"}));
    EXPECT_EQ(phones("+7 812 325-12-14", true), (std::vector<std::string>{"(812) 325-12-14 ф"}));
    EXPECT_EQ(phones("+358 9 1234 5678;; 112"), (std::vector<std::string>{"+358 9 1234 5678", "112"}));
}

TEST(ImportTable, ParsesKeysExclusionsAndTwoLevels) {
    TagTable table;
    std::string error;
    ASSERT_TRUE(parseTagTable("# comment\nfirm keys: shop; amenity\nnot firms: amenity=bench\nМедицина\n"
                              "  Аптеки = amenity=pharmacy; shop=chemist\n  Прочая медицина = amenity=*\n",
                              "t.txt", table, error))
        << error;
    auto verdict = [&](std::map<std::string, std::string> tags) {
        return judgeTags(table, [&](const char* key) {
            auto it = tags.find(key);
            return it == tags.end() ? nullptr : it->second.c_str();
        });
    };
    EXPECT_EQ(verdict({{"amenity", "pharmacy"}}).rubrics, std::vector<uint32_t>{0});
    EXPECT_EQ(verdict({{"amenity", "clinic"}}).rubrics, std::vector<uint32_t>{1});
    TagVerdict bench = verdict({{"amenity", "bench"}});
    EXPECT_FALSE(bench.businessKind);
    EXPECT_TRUE(bench.onlyNotFirms);
    TagVerdict both = verdict({{"amenity", "bench"}, {"shop", "kiosk"}});
    EXPECT_TRUE(both.businessKind);
    EXPECT_EQ(both.unmatched, std::vector<std::string>{"shop=kiosk"});
    EXPECT_FALSE(verdict({{"highway", "bus_stop"}}).onlyNotFirms);

    EXPECT_FALSE(parseTagTable("firm keys: shop\n  Аптеки = shop=chemist\n", "t.txt", table, error));
    EXPECT_EQ(error, "t.txt:2: a rubric before the first heading");
    EXPECT_FALSE(parseTagTable("firm keys: shop\nА\n  Б = shop\n", "t.txt", table, error));
    EXPECT_EQ(error, "t.txt:3: 'shop' is not a tag (key=value or key=*)");
    EXPECT_FALSE(parseTagTable("А\n  Б = shop=x\n", "t.txt", table, error));
    EXPECT_NE(error.find("firm keys"), std::string::npos);
    EXPECT_FALSE(parseTagTable("firm keys: shop\nА \xE2\x98\x83\n", "t.txt", table, error));
    EXPECT_EQ(error, "t.txt:2: the title holds U+2603, which code page 1251 has not");
}

TEST(ImportTable, TheShippedTableParses) {
    TagTable table;
    std::string error;
    ASSERT_TRUE(parseTagTable(defaultTagTableText(), "tag_rubrics.txt", table, error)) << error;
    EXPECT_GE(table.rubrics.size(), 60u);
    EXPECT_EQ(table.byTag.count("amenity=pharmacy"), 1u);
    EXPECT_EQ(table.notFirms.count("amenity=bench"), 1u);
}

TEST(ImportFirm, TakesTheRussianNameItsFormAndAnAddressTheSearchCanFind) {
    TagTable table;
    std::string error;
    ASSERT_TRUE(parseTagTable(defaultTagTableText(), "tag_rubrics.txt", table, error)) << error;
    ImportReport report;
    auto firmOf = [&](std::map<std::string, std::string> tags) {
        return firmFromTags(table, [&](const char* key) {
            auto it = tags.find(key);
            return it == tags.end() ? nullptr : it->second.c_str();
        }, report);
    };
    std::optional<ImportedFirm> f = firmOf({{"shop", "bakery"}, {"name", "Hleb"}, {"name:ru", "ИП Хлебов"},
                                            {"addr:street", "- . -"}, {"addr:housenumber", "5"}});
    ASSERT_TRUE(f);
    EXPECT_EQ(cp1251ToUtf8(f->name), "Хлебов");
    EXPECT_EQ(cp1251ToUtf8(f->namePrefix), "ИП");
    EXPECT_EQ(cp1251ToUtf8(f->nameKey), "ХЛЕБОВ");
    EXPECT_EQ(f->street, "");
    EXPECT_EQ(f->house, 0u);
    EXPECT_EQ(report.cut.begin()->first, "addresses (a street without a letter or a digit)");
    EXPECT_EQ(cp1251ToUtf8(firmOf({{"shop", "bakery"}, {"name", "ИП"}})->name), "ИП");   // nothing but the form
    EXPECT_FALSE(firmOf({{"shop", "bakery"}, {"name", " \xF0\x9F\x8D\x9E "}}));         // nothing but a pictograph
    EXPECT_EQ(report.leftOut["with a name that code page 1251 cannot hold"], 1u);
}

ImportedFirm firm(const char* name, const char* street, uint32_t house, int32_t x, int32_t y) {
    ImportedFirm f;
    f.name = cp(name);
    f.nameKey = f.name;
    f.street = street[0] ? cp(street) : "";
    f.house = house;
    if (x || y) f.box.add(x, y);
    return f;
}

TEST(ImportDuplicates, MergesOneFirmMappedTwiceAndKeepsBranchesApart) {
    FirmList firms;
    firms.push_back(firm("Пятерочка", "Невский пр.", 12, 0, 0));   // the building
    firms.back().box.add(100, 100);
    firms.push_back(firm("Пятерочка", "", 0, 50, 50));              // the point inside it, with a telephone
    firms.back().phones = {cp("(812) 325-12-12")};
    firms.back().rubrics = {4};
    firms.push_back(firm("Пятерочка", "Невский пр.", 30, 200, 200));  // a branch next door
    firms.push_back(firm("Пятерочка", "", 0, 900000, 900000));         // a branch far away
    firms.push_back(firm("Пятерочка", "Садовая ул.", 5, 0, 0));        // mapped twice at one address,
    firms.push_back(firm("Пятерочка", "Садовая ул.", 5, 0, 0));        // without any place
    firms.push_back(firm("Магнит", "", 0, 60, 60));
    // Two branches in neighbouring houses, each mapped as a point and its building.
    firms.push_back(firm("Дикси", "Садовая ул.", 1, 0, 0));
    firms.push_back(firm("Дикси", "Садовая ул.", 3, 3000, 0));
    firms.push_back(firm("Дикси", "", 0, 10, 10));
    firms.push_back(firm("Дикси", "", 0, 2990, 10));
    // Points alone near each other are one firm.
    firms.push_back(firm("Лента", "", 0, 10, 10));
    firms.push_back(firm("Лента", "", 0, 20, 20));
    EXPECT_EQ(mergeDuplicates(firms), 5u);
    ASSERT_EQ(firms.size(), 8u);
    EXPECT_EQ(firms[5].house, 1u);
    EXPECT_EQ(firms[6].house, 3u);
    EXPECT_EQ(firms[0].house, 12u);
    EXPECT_EQ(firms[0].phones, std::vector<std::string>{cp("(812) 325-12-12")});
    EXPECT_EQ(firms[0].rubrics, std::vector<uint32_t>{4});
    EXPECT_EQ(firms[1].house, 30u);
    EXPECT_EQ(cp1251ToUtf8(firms[4].name), "Магнит");
}

} // namespace
