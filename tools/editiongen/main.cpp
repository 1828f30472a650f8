// editiongen DATA_DIR CITY OUT_DIR: writes the source edition of one sample city from the word lists
// of the data folder (DATA_DIR/CITY/city.json names the rest), ready for "ydb build".
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include <nlohmann/json.hpp>

#include "tools/editiongen/about_pictures.h"
#include "tools/editiongen/bmp_writer.h"
#include "tools/editiongen/firm_generator.h"
#include "tools/editiongen/metro_scheme.h"
#include "tools/editiongen/word_lists.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "editiongen: %s\n", message.c_str());
    return 1;
}

bool writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

std::vector<std::string> strings(const json& v) {
    std::vector<std::string> out;
    for (const auto& item : v) out.push_back(item.get<std::string>());
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) return fail("usage: editiongen DATA_DIR CITY OUT_DIR");
    fs::path data(argv[1]);
    fs::path cityDir = data / argv[2];
    fs::path out(argv[3]);

    std::string text;
    if (!readTextFile((cityDir / "city.json").string(), text)) return fail("cannot read " + (cityDir / "city.json").string());
    json city;
    try {
        city = json::parse(text);
    } catch (const json::exception& e) {
        return fail("city.json: " + std::string(e.what()));
    }

    FirmWords words;
    std::vector<std::string> rubricLines;
    std::string error;
    if (!readListFile((data / "rubrics.txt").string(), rubricLines) || !readListFile((data / "brands.txt").string(), words.brands) ||
        !readListFile((data / "people.txt").string(), words.people) ||
        !readListFile((cityDir / "streets.txt").string(), words.streets))
        return fail("cannot read the word lists in " + data.string());
    if (!parseRubricTree(rubricLines, words.rubrics, error)) return fail("rubrics.txt: " + error);
    words.phoneCodes = strings(city.at("phoneCodes"));
    words.mobileCodes = strings(city.at("mobileCodes"));
    words.siteSuffix = city.at("siteSuffix").get<std::string>();

    std::error_code ec;
    fs::remove_all(out, ec);
    fs::create_directories(out / "pictures", ec);
    fs::create_directories(out / "html", ec);

    // Rubrics: headings are shown in the full tree only, leaves in both trees.
    json rubrics = json::array();
    for (const RubricNode& n : words.rubrics)
        rubrics.push_back({{"code", n.code}, {"title", n.title}, {"flags", n.level == 2 ? 3 : 2}});
    bool ok = writeFile(out / "rubrics.json", rubrics.dump(1) + "\n");

    std::set<std::string> seen;
    std::string streets;
    for (const std::string& s : words.streets) {
        if (!seen.insert(s).second) return fail("street listed twice: " + s);
        streets += json{{"key", streetKey(s)}, {"name", s}}.dump() + "\n";
    }
    ok = ok && writeFile(out / "streets.jsonl", streets);

    std::string firms;
    for (const json& f : generateFirms(words, city.at("firms").get<uint32_t>(), city.value("firmsWithoutStreet", 0u),
                                       city.at("seed").get<uint64_t>()))
        firms += f.dump() + "\n";
    ok = ok && writeFile(out / "firms.jsonl", firms);

    // Pictures 0-3: the about screen (24-bit upper bands, 8-bit lower ones); 4: the metro scheme.
    std::string cityName = city.at("cityName").get<std::string>();
    json resources = json::array();
    for (int i = 0; i < 4; ++i) {
        Canvas c;
        if (!drawAboutPicture(i, cityName, c, error)) return fail(error);
        std::string name = "pictures/about" + std::to_string(i) + ".bmp";
        ok = ok && writeFile(out / name, i % 2 == 0 ? encodeBmp24(c) : encodeBmp8(c, makePalette({})));
        resources.push_back({{"picture", name}});
    }
    std::string schemeText;
    std::vector<MetroLine> lines;
    if (!readTextFile((cityDir / "metro.txt").string(), schemeText) || !parseMetroScheme(schemeText, lines, error))
        return fail("metro.txt: " + error);
    Canvas scheme;
    const json& size = city.at("metroSize");
    if (!drawMetroScheme(lines, "Метрополитен: " + cityName, size[0].get<int>(), size[1].get<int>(), scheme, error))
        return fail(error);
    std::vector<Rgb> exact = {{255, 255, 255}, {0, 0, 0}, {30, 30, 30}, {40, 40, 40}};
    for (const MetroLine& l : lines) exact.push_back(l.colour);
    ok = ok && writeFile(out / "pictures/metro.bmp", encodeBmp8(scheme, makePalette(exact)));
    resources.push_back({{"picture", "pictures/metro.bmp"}});

    // Help text 0, then the information pages of this city and the shared ones.
    fs::copy_file(data / "help.html", out / "help.html", fs::copy_options::overwrite_existing, ec);
    if (ec) return fail("cannot copy help.html: " + ec.message());
    resources.push_back({{"help", "help.html"}});
    for (const fs::path& folder : {data / "common" / "html", cityDir / "html"})
        for (const auto& entry : fs::directory_iterator(folder, ec))
            if (entry.is_regular_file())
                fs::copy_file(entry.path(), out / "html" / entry.path().filename(), fs::copy_options::overwrite_existing, ec);
    if (ec) return fail("cannot copy the pages: " + ec.message());

    json edition{{"title", city.at("title")}, {"cityLetter", city.at("cityLetter")}, {"resources", resources}};
    ok = ok && writeFile(out / "edition.json", edition.dump(1) + "\n");
    if (!ok) return fail("cannot write into " + out.string());
    return 0;
}
