// ydb import as a publisher runs it: a small extract written by hand (as XML, and the same as PBF),
// imported, built and searched; broken extracts refused with nothing written.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>
#include <osmium/io/any_input.hpp>
#include <osmium/io/any_output.hpp>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// Tag lines of one object.
std::string tags(std::initializer_list<std::pair<const char*, const char*>> list) {
    std::string out;
    for (const auto& [k, v] : list) out += std::string("  <tag k=\"") + k + "\" v=\"" + v + "\"/>\n";
    return out;
}

std::string node(int id, const char* lat, const char* lon, const std::string& tagLines = {}) {
    std::string head = "<node id=\"" + std::to_string(id) + "\" version=\"1\" lat=\"" + lat + "\" lon=\"" + lon + "\"";
    return tagLines.empty() ? head + "/>\n" : head + ">\n" + tagLines + "</node>\n";
}

std::string way(int id, std::initializer_list<int> refs, const std::string& tagLines) {
    std::string out = "<way id=\"" + std::to_string(id) + "\" version=\"1\">\n";
    for (int r : refs) out += "  <nd ref=\"" + std::to_string(r) + "\"/>\n";
    return out + tagLines + "</way>\n";
}

// Every kind of object the importer meets: firms of each tag kind as points, a supermarket mapped as
// a point and as its building, a hospital as a multipolygon and a point, what is not a firm, what
// has no name or one of another script, and every form of address, telephone and hours.
std::string sampleExtract() {
    std::string x = "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\" generator=\"hand\">\n";
    x += node(1, "59.9300", "30.3100",
              tags({{"amenity", "pharmacy"}, {"name", "Аптека Здоровье"}, {"addr:street", "улица Ленина"},
                    {"addr:housenumber", "12к1"}, {"phone", "+7 812 325-12-12; +7 921 123-45-67"},
                    {"opening_hours", "Mo-Fr 09:00-18:00; Sa 10:00-16:00"}}));
    x += node(2, "59.9301", "30.3101", tags({{"amenity", "bench"}, {"name", "Скамейка"}}));
    x += node(3, "59.9302", "30.3102", tags({{"shop", "bakery"}}));
    x += node(4, "59.9303", "30.3103", tags({{"amenity", "cafe"}, {"name", "北京饭店"}}));
    x += node(5, "59.9304", "30.3104", tags({{"amenity", "cafe"}, {"name", "Café Crème"}, {"addr:street", "Садовая улица"},
                                             {"addr:housenumber", "12-14"}, {"opening_hours", "PH off"}}));
    x += node(6, "59.9305", "30.3105", tags({{"shop", "xyz"}, {"name", "Странная лавка"}}));
    x += node(7, "59.9306", "30.3106",
              tags({{"office", "company"}, {"name", "OOO Romashka"}, {"name:ru", "ООО «Ромашка»"},
                    {"website", "https://www.romashka.ru/"}, {"email", "info@romashka.ru"},
                    {"contact:phone", "8 (812) 555-00-11 доб. 123"}, {"addr:street", "Невский проспект"},
                    {"addr:housenumber", "12/3"}}));
    // The supermarket's point lies inside its building; a branch of the same name far away.
    x += node(8, "59.95005", "30.35005", tags({{"shop", "supermarket"}, {"name", "Пятёрочка"}, {"phone", "3251214"}}));
    x += node(9, "60.0500", "30.4500", tags({{"shop", "supermarket"}, {"name", "Пятёрочка"},
                                            {"addr:street", "проспект Энгельса"}, {"addr:housenumber", "5А"}}));
    x += node(10, "59.9601", "30.3601", tags({{"amenity", "hospital"}, {"name", "Больница №1"}, {"opening_hours", "24/7"}}));
    x += node(11, "59.9700", "30.3700", tags({{"leisure", "fitness_centre"}, {"name", "Фитнес Плюс"}}));
    x += node(12, "59.9701", "30.3701", tags({{"highway", "bus_stop"}, {"name", "Остановка"}}));
    x += node(13, "59.9702", "30.3702", tags({{"craft", "tailor"}, {"name", "Ателье Стежок"}, {"addr:street", "Садовая улица"},
                                             {"addr:housenumber", "20"}, {"fax", "+7 812 325-12-15"}}));
    x += node(14, "59.9703", "30.3703", tags({{"healthcare", "dentist"}, {"name", "Дента"}}));
    x += node(15, "59.9704", "30.3704",
              tags({{"tourism", "hotel"}, {"name", "Гостиница Нева"},
                    {"website", "https://www.hotel-neva.ru/ru/rooms/standard/with-a-view-of-the-river-and-the-bridges"},
                    {"email", "reservations-and-group-bookings-of-the-hotel-neva@hotel-neva-spb.ru"}}));
    for (int i = 0; i < 4; ++i) {
        const char* lats[] = {"59.9500", "59.9500", "59.9501", "59.9501"};
        const char* lons[] = {"30.3500", "30.3501", "30.3501", "30.3500"};
        x += node(20 + i, lats[i], lons[i]);
        const char* hlats[] = {"59.9600", "59.9600", "59.9602", "59.9602"};
        const char* hlons[] = {"30.3600", "30.3602", "30.3602", "30.3600"};
        x += node(30 + i, hlats[i], hlons[i]);
    }
    x += way(100, {20, 21, 22, 23, 20},
             tags({{"building", "yes"}, {"shop", "supermarket"}, {"name", "Пятёрочка"},
                   {"addr:street", "Невский проспект"}, {"addr:housenumber", "30"}}));
    x += way(101, {30, 31, 32, 33, 30}, tags({{"building", "hospital"}}));
    x += "<relation id=\"200\" version=\"1\">\n  <member type=\"way\" ref=\"101\" role=\"outer\"/>\n" +
         tags({{"type", "multipolygon"}, {"amenity", "hospital"}, {"name", "Больница №1"},
               {"addr:street", "Садовая улица"}, {"addr:housenumber", "1"}}) +
         "</relation>\n";
    return x + "</osm>\n";
}

class YdbImport : public ::testing::Test {
protected:
    fs::path root = fs::temp_directory_path() / ("ydb-import-" + std::to_string(::getpid()));
    void SetUp() override {
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }

    struct Run {
        int status = -1;
        std::string out, errors;
    };
    Run ydb(const std::string& arguments) {
        const fs::path out = root / "out.txt", errors = root / "errors.txt";
        const std::string command = std::string(YDB_PROGRAM) + " " + arguments + " >'" + out.string() + "' 2>'" +
                                    errors.string() + "' </dev/null";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read(out), read(errors)};
    }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    fs::path write(const std::string& name, const std::string& text) {
        std::ofstream(root / name, std::ios::binary) << text;
        return root / name;
    }
    std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }
    // The firms of an imported source, by name.
    std::map<std::string, json> firms(const fs::path& folder) {
        std::map<std::string, json> out;
        std::ifstream in(folder / "firms.jsonl");
        for (std::string line; std::getline(in, line);) {
            json firm = json::parse(line);
            out[firm["name"].get<std::string>()] = firm;
        }
        return out;
    }
};

fs::path asPbf(const fs::path& xml) {
    fs::path pbf = xml;
    pbf.replace_extension(".osm.pbf");
    osmium::io::Reader reader{xml.string()};
    osmium::io::Writer writer{pbf.string(), osmium::io::overwrite::allow};
    while (osmium::memory::Buffer buffer = reader.read()) writer(std::move(buffer));
    writer.close();
    reader.close();
    return pbf;
}

TEST_F(YdbImport, AnExtractBecomesASourceThatBuildsAndIsFound) {
    const fs::path xml = write("city.osm", sampleExtract());
    for (const fs::path& extract : {xml, asPbf(xml)}) {
        SCOPED_TRACE(extract.string());
        const fs::path source = root / ("source-" + extract.extension().string().substr(1));
        Run imported = ydb("import " + quoted(extract) + " -o " + quoted(source) + " --title 'Город' --city-letter П");
        ASSERT_EQ(imported.status, 0) << imported.out << imported.errors;
        EXPECT_NE(imported.out.find("26 objects read, 11 firms written in 4 streets"), std::string::npos) << imported.out;
        EXPECT_NE(imported.out.find("2 objects merged"), std::string::npos) << imported.out;
        EXPECT_NE(imported.out.find("left out: 1 not firms"), std::string::npos) << imported.out;
        EXPECT_NE(imported.out.find("left out: 1 with a name that code page 1251 cannot hold"), std::string::npos);
        EXPECT_NE(imported.out.find("left out: 1 without a name"), std::string::npos);
        EXPECT_NE(imported.out.find("    1 shop=xyz"), std::string::npos) << imported.out;

        std::map<std::string, json> f = firms(source);
        ASSERT_EQ(f.size(), 10u);   // two branches of one name
        const json& pharmacy = f["Аптека Здоровье"];
        EXPECT_EQ(pharmacy["street"], "Ленина ул.");
        EXPECT_EQ(pharmacy["house"], 12);
        EXPECT_EQ(pharmacy["houseSuffix"], "к1");
        EXPECT_EQ(pharmacy["phone"], "(812) 325-12-12");
        EXPECT_EQ(pharmacy["phones"], json::array({"(812) 325-12-12", "8-921-123-45-67"}));
        EXPECT_EQ(pharmacy["hours"], "Пн-Пт 9:00-18:00, Сб 10:00-16:00");
        const json& romashka = f["«Ромашка»"];
        EXPECT_EQ(romashka["namePrefix"], "ООО");
        EXPECT_EQ(romashka["web"], "www.romashka.ru");
        EXPECT_EQ(romashka["email"], "info@romashka.ru");
        EXPECT_EQ(romashka["phones"], json::array({"(812) 555-00-11 доб. 123"}));
        EXPECT_EQ(romashka["houseSuffix"], "3");
        EXPECT_EQ(f["Cafe Creme"]["hours"], "PH off");
        EXPECT_EQ(f["Cafe Creme"]["houseSuffix"], "-14");
        EXPECT_EQ(f["Больница №1"]["street"], "Садовая ул.");
        EXPECT_EQ(f["Больница №1"]["hours"], "круглосуточно");
        EXPECT_EQ(f["Странная лавка"]["rubrics"], json::array({"99"}));
        EXPECT_FALSE(f["Фитнес Плюс"].contains("street"));
        EXPECT_EQ(f["Ателье Стежок"]["phones"], json::array({"(812) 325-12-15 ф"}));
        EXPECT_FALSE(f["Ателье Стежок"].contains("phone"));   // a fax's 17 characters are no main telephone
        EXPECT_EQ(f["Гостиница Нева"]["web"], "www.hotel-neva.ru");
        EXPECT_FALSE(f["Гостиница Нева"].contains("email"));
        EXPECT_NE(imported.out.find("cut: 1 web addresses"), std::string::npos) << imported.out;
        EXPECT_NE(imported.out.find("cut: 1 e-mail addresses"), std::string::npos) << imported.out;

        const fs::path database = root / ("city-" + extract.extension().string().substr(1) + ".ydb");
        Run built = ydb("build " + quoted(source) + " -o " + quoted(database) + " --quiet");
        ASSERT_EQ(built.status, 0) << built.errors;
        EXPECT_EQ(built.errors, "");
        const std::string db = quoted(database) + " ";
        Run tree = ydb("query " + db + "rubrics");
        EXPECT_NE(tree.out.find("Медицина\n  Аптеки\n  Больницы\n"), std::string::npos) << tree.out;
        EXPECT_NE(tree.out.find("Прочее\n"), std::string::npos) << tree.out;
        EXPECT_NE(tree.out.find("Медицина\n  Аптеки\n  Больницы\n  Стоматология\n"), std::string::npos) << tree.out;
        EXPECT_NE(tree.out.find("\n  Ателье\n"), std::string::npos) << tree.out;
        EXPECT_NE(tree.out.find("Гостиницы\n  Гостиницы\n"), std::string::npos) << tree.out;
        EXPECT_EQ(ydb("query " + db + "search --phone 3251215").out, "Ателье Стежок, Садовая ул., 20\n");
        // The merged supermarket: the building's address with the point's telephone.
        EXPECT_EQ(ydb("query " + db + "search --phone 3251214").out, "Пятёрочка, Невский пр., 30\n");
        EXPECT_EQ(ydb("query " + db + "search --phone 1234567").out, "Аптека Здоровье, Ленина ул., 12/к1\n");
        EXPECT_EQ(ydb("query " + db + "search --name ПЯТЁРОЧКА").out,
                  "Пятёрочка, Невский пр., 30\nПятёрочка, Энгельса пр., 5/А\n");
        EXPECT_EQ(ydb("query " + db + "complete-street ЛЕН").out, "Ленина ул.\n");
        EXPECT_EQ(ydb("query " + db + "search --street САДОВАЯ --name Б").out, "Больница №1, Садовая ул., 1\n");
    }
}

TEST_F(YdbImport, ABrokenExtractIsRefusedAndNothingWritten) {
    const fs::path xml = write("city.osm", sampleExtract());
    const fs::path pbf = asPbf(xml);
    const std::string bytes = read(pbf);
    const fs::path cut = write("cut.osm.pbf", bytes.substr(0, bytes.size() * 2 / 3));
    const fs::path bad = write("bad.osm", sampleExtract().substr(0, 900) + "<<>>");
    for (const fs::path& extract : {cut, bad}) {
        const fs::path source = root / "source";
        Run r = ydb("import " + quoted(extract) + " -o " + quoted(source));
        EXPECT_EQ(r.status, 1) << extract;
        EXPECT_EQ(r.errors.rfind("ydb import: " + extract.string() + ": cannot be read: ", 0), 0u) << r.errors;
        EXPECT_NE(r.errors.find("nothing written"), std::string::npos) << r.errors;
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(fs::exists(source));
        for (const auto& entry : fs::directory_iterator(root))
            EXPECT_EQ(entry.path().filename().string().find("source"), std::string::npos) << entry.path();
    }
}

TEST_F(YdbImport, RefusesAFullFolderAndBadOptions) {
    const fs::path xml = write("city.osm", sampleExtract());
    fs::create_directories(root / "full");
    write("full/notes.txt", "mine");
    Run full = ydb("import " + quoted(xml) + " -o " + quoted(root / "full"));
    EXPECT_EQ(full.status, 2);
    EXPECT_NE(full.errors.find("is not empty"), std::string::npos) << full.errors;
    EXPECT_EQ(read(root / "full" / "notes.txt"), "mine");

    fs::create_directories(root / "empty");
    EXPECT_EQ(ydb("import " + quoted(xml) + " -o " + quoted(root / "empty") + " --quiet").status, 0);
    EXPECT_TRUE(fs::exists(root / "empty" / "firms.jsonl"));

    EXPECT_EQ(ydb("import " + quoted(root / "none.osm") + " -o " + quoted(root / "x")).status, 2);
    Run text = ydb("import " + quoted(write("city.txt", "hello")) + " -o " + quoted(root / "x"));
    EXPECT_EQ(text.status, 2);
    EXPECT_NE(text.errors.find("not an extract's name"), std::string::npos) << text.errors;
    EXPECT_EQ(ydb("import " + quoted(xml) + " -o " + quoted(root / "x") + " --city-letter ПП").status, 2);
    EXPECT_EQ(ydb("import " + quoted(xml) + " -o " + quoted(root / "x") + " --title ''").status, 2);
    write("table.txt", "firm keys: shop\n  Аптеки = shop=chemist\n");
    Run table = ydb("import " + quoted(xml) + " -o " + quoted(root / "x") + " --rubrics " + quoted(root / "table.txt"));
    EXPECT_EQ(table.status, 2);
    EXPECT_NE(table.errors.find("table.txt:2: a rubric before the first heading"), std::string::npos) << table.errors;
    EXPECT_FALSE(fs::exists(root / "x"));
}

TEST_F(YdbImport, APublishersTableDecidesTheRubrics) {
    const fs::path xml = write("city.osm", sampleExtract());
    write("table.txt", "firm keys: shop\nМагазины\n  Продукты = shop=supermarket\n  Разное = shop=*\n");
    const fs::path source = root / "source";
    Run r = ydb("import " + quoted(xml) + " -o " + quoted(source) + " --rubrics " + quoted(root / "table.txt"));
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_NE(r.out.find("3 firms written"), std::string::npos) << r.out;
    json rubrics = json::parse(read(source / "rubrics.json"));
    EXPECT_EQ(rubrics.dump(), R"([{"code":"10","title":"Магазины"},{"code":"1010","title":"Продукты"},)"
                              R"({"code":"1011","title":"Разное"}])");
}

} // namespace
